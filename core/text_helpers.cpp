#include "core/text_helpers.h"

#include "core/exceptions.h"
#include "ui/message_box.h"
#include "ui/owned_dialog.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <filesystem>
#include <limits>

namespace {

const QChar kRecordEnd(kKeyValueRecordEnd);
const QChar kEquals(u'=');

// The 1-based position of the "=" of the record start..end (end is its U+0001), or 0.
int equalsOfRecord(const QString& text, int start, int end) {
    const int eq = posFrom(QString(kEquals), text, start, end - 1);
    return eq >= start ? eq : 0;
}

// The 1-based position of the U+0001 that ends the record at start, or 0.
int endOfRecord(const QString& text, int start) {
    const int end = posFrom(QString(kRecordEnd), text, start, int(text.size()));
    return end >= start ? end : 0;
}

ConvertError notANumber(const QString& s) {
    return ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
}

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int monthOf(DateTime date) {
    return datetime::decodeDate(date).month();
}

QString monthName(const char* const (&table)[12], DateTime date) {
    const int month = monthOf(date);
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf8(table[month - 1]);
}

const char* const kMonthRU[12] = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                  "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
const char* const kMonthGenRU[12] = {"января",   "февраля", "марта",  "апреля",
                                     "мая",      "июня",    "июля",   "августа",
                                     "сентября", "октября", "ноября", "декабря"};
const char* const kMonthUA[12] = {"січень",   "лютий",   "березень", "квітень",
                                  "травень",  "червень", "липень",   "серпень",
                                  "вересень", "жовтень", "листопад", "грудень"};
const char* const kMonthGenUA[12] = {"січня", "лютого", "березня", "квітня", "травня",    "червня",
                                     "липня", "серпня", "вересня", "жовтня", "листопада", "грудня"};

// Rounded a * b / c, as dialog units are turned into pixels.
int mulDiv(int a, int b, int c) {
    return int((qint64(a) * b + c / 2) / c);
}

QString withSlash(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

QString quoted(const QString& s) {
    return u'"' + s + u'"';
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void copyOneFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::copy_file(fsPath(from), fsPath(to),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        throw Exception(QStringLiteral("Не удается скопировать файл: ") + quoted(from) +
                        QStringLiteral(" -> ") + quoted(to) + u'\n' +
                        QStringLiteral("Закройте все программы, перезагрузите компьютер и "
                                       "попробуйте еще раз!"));
}

} // namespace

// ---- Key=value settings text ----

QString getKeyValue(const QString& text, const QString& key) {
    int start = 1;
    while (start <= text.size()) {
        const int end = endOfRecord(text, start);
        if (end == 0)
            break;
        const int eq = equalsOfRecord(text, start, end);
        if (eq != 0 && substrEquals(key, text, start, eq - 1))
            return text.mid(eq, end - eq - 1);
        start = end + 1;
    }
    return QString();
}

QString setKeyValue(const QString& text, const QString& key, const QString& value) {
    if (key.contains(kEquals) || key.contains(kRecordEnd))
        throw Exception(QStringLiteral("Недопустимый ключ настройки \"%1\": ключ не может "
                                       "содержать символ \"=\" или символ с кодом 1")
                            .arg(QString(key).remove(kRecordEnd)));
    QString result = text;
    int start = 1;
    while (start <= result.size()) {
        const int end = endOfRecord(result, start);
        if (end == 0)
            break;
        const int eq = equalsOfRecord(result, start, end);
        if (eq != 0 && substrEquals(key, result, start, eq - 1))
            result.remove(start - 1, end - start + 1);
        else
            start = end + 1;
    }
    if (!result.isEmpty() && !result.endsWith(kRecordEnd))
        result += kRecordEnd;
    return result + key + kEquals + QString(value).remove(kRecordEnd) + kRecordEnd;
}

int posFrom(const QString& sub, const QString& text, int from, int to) {
    const int first = qMax(from, 1);
    const int last = qMin(to, int(text.size()));
    if (sub.isEmpty() || last - first + 1 < sub.size())
        return from - 1;
    const qsizetype at = QStringView(text).sliced(first - 1, last - first + 1).indexOf(sub);
    return at < 0 ? from - 1 : first + int(at);
}

bool substrEquals(const QString& sub, const QString& text, int from, int to) {
    if (to - from + 1 != sub.size())
        return false;
    if (sub.isEmpty())
        return true;
    if (from < 1 || to > text.size())
        return false;
    return QStringView(text).sliced(from - 1, sub.size()) == sub;
}

// ---- Numbers and dates ----

int strToInt(const QString& s) {
    bool ok = false;
    const int value = s.toInt(&ok);
    if (!ok)
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return value;
}

Currency strToCurrDot(const QString& s) {
    QString text = s.trimmed();
    text.replace(QLocale().decimalPoint(), QStringLiteral("."));
    bool negative = false;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || !allDigits(whole) || !allDigits(fraction))
        throw notANumber(s);

    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    bool ok = true;
    const qint64 wholeUnits = whole.isEmpty() ? 0 : whole.toLongLong(&ok);
    if (!ok || wholeUnits > kMax / Currency::kScale)
        throw notANumber(s);
    // The fifth decimal rounds, half away from zero.
    const bool roundUp = fraction.size() > 4 && fraction[4] >= u'5';
    const qint64 fractionUnits = fraction.left(4).leftJustified(4, u'0').toLongLong() + roundUp;
    const qint64 base = wholeUnits * Currency::kScale;
    if (fractionUnits > kMax - base)
        throw notANumber(s);
    const qint64 units = base + fractionUnits;
    return Currency{negative ? -units : units};
}

QString monthNameRU(DateTime date) {
    return monthName(kMonthRU, date);
}
QString monthNameGenRU(DateTime date) {
    return monthName(kMonthGenRU, date);
}
QString monthNameUA(DateTime date) {
    return monthName(kMonthUA, date);
}
QString monthNameGenUA(DateTime date) {
    return monthName(kMonthGenUA, date);
}

// ---- Dialogs and messages ----

void showWarning(QWidget* owner, const QString& text) {
    dialogs::messageBox(owner, text, dialogs::applicationTitle(), MB_OK | MB_ICONEXCLAMATION);
}

bool messageBoxRepeat(QWidget* wnd, const QString& caption, const QString& text, unsigned flags,
                      int expected, int count) {
    for (int i = 0; i < count; ++i)
        if (dialogs::messageBox(wnd, text, caption, flags) != expected)
            return false;
    return true;
}

void layoutInputQuery(OwnedDialog& form, const QString& caption, const QString& prompt,
                      const QString& value) {
    form.setWindowTitle(caption);
    form.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const QSize units = averageCharWidth(QFontMetrics(form.font()));
    const auto x = [&](int n) { return mulDiv(n, units.width(), 4); };
    const auto y = [&](int n) { return mulDiv(n, units.height(), 8); };
    form.setFixedSize(x(180), y(63));

    auto* label = new QLabel(prompt, &form);
    label->setObjectName(QStringLiteral("lblPrompt"));
    label->move(x(8), y(8));
    label->adjustSize();

    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("edtValue"));
    edit->setMaxLength(255);
    edit->setText(value);
    edit->selectAll();
    edit->setGeometry(x(8), y(19), x(164), edit->sizeHint().height());

    auto* ok = new QPushButton(QStringLiteral("OK"), &form);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    ok->setGeometry(x(38), y(41), x(50), y(14));
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &form);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(x(92), y(41), x(50), y(14));
    QObject::connect(cancel, &QPushButton::clicked, &form, &QDialog::reject);

    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    edit->setFocus();
}

bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value) {
    return dialogs::inputQuery(caption, prompt, value, [&](QString& answer) {
        OwnedDialog form(owner);
        layoutInputQuery(form, caption, prompt, answer);
        if (form.exec() != QDialog::Accepted)
            return false;
        answer = form.findChild<QLineEdit*>(QStringLiteral("edtValue"))->text();
        return true;
    });
}

QSize averageCharWidth(const QFontMetrics& metrics) {
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QSize(metrics.horizontalAdvance(letters) / 52, metrics.height());
}

void hideAllTabSheets(QTabWidget* pageControl) {
    for (int i = 0; i < pageControl->count(); ++i)
        pageControl->setTabVisible(i, false);
}

// ---- Text and files ----

QString stringReplaceAll(const QString& pattern, const QString& replacement, const QString& text) {
    if (pattern.isEmpty())
        return text;
    if (replacement.contains(pattern))
        throw Exception(QStringLiteral("Замена \"%1\" на \"%2\" никогда не закончится: "
                                       "замена содержит заменяемый текст")
                            .arg(pattern, replacement));
    QString result = text;
    qsizetype at = result.indexOf(pattern);
    while (at >= 0) {
        result.replace(at, pattern.size(), replacement);
        // Before at nothing changed, so a new occurrence overlaps the replacement at least.
        at = result.indexOf(pattern, qMax<qsizetype>(0, at - pattern.size() + 1));
    }
    return result;
}

void replaceFile(const QString& source, const QString& target) {
    std::error_code error;
    std::filesystem::rename(fsPath(source), fsPath(target), error);
    if (error)
        throw Exception(QStringLiteral("Не удается заменить файл \"%1\": %2")
                            .arg(target, QString::fromLocal8Bit(error.message().c_str())));
}

void copyFolder(const QString& source, const QString& dest) {
    const QString from = withSlash(source);
    const QString to = withSlash(dest);
    const QFileInfo sourceInfo(from);
    if (!sourceInfo.isDir() || !sourceInfo.isReadable())
        throw Exception(QStringLiteral("Не удается скопировать каталог: ") + quoted(from));
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            const QString folder = to + name;
            if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
                throw Exception(QStringLiteral("Не удается создать каталог: ") + quoted(folder));
            copyFolder(from + name, folder);
        } else {
            copyOneFile(from + name, to + name);
        }
    }
}

int runAndWait(const QString& program, const QStringList& arguments) {
    if (program.isEmpty())
        return -1;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return -1;
    process.closeWriteChannel();
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

// ---- Cursor ----

void execWithCursor(Qt::CursorShape cursor, const std::function<void()>& method) {
    if (!qGuiApp) {
        method();
        return;
    }
    struct RestoreCursor {
        ~RestoreCursor() { QGuiApplication::restoreOverrideCursor(); }
    };
    QGuiApplication::setOverrideCursor(QCursor(cursor));
    RestoreCursor restore;
    method();
}

void execWithSQLWaitCursor(const std::function<void()>& method) {
    execWithCursor(Qt::WaitCursor, method);
}

bool isEnterKeyPress(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
