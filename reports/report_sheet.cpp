#include "reports/report_sheet.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "ui/action_builder.h"
#include "ui/message_box.h"

#include <QAction>

namespace {

const QString kMaxCols = QStringLiteral("MAX_QUANT_COLS");
const QString kMaxRows = QStringLiteral("MAX_QUANT_ROWS");
const QString kFixedWidth = QStringLiteral("FixedWidth");
const QString kFixedHeight = QStringLiteral("FixedHeight");
const QString kHorzLine = QStringLiteral("HorzLine");
const QString kVertLine = QStringLiteral("VertLine");

void checkPairs(const QStringList& keys, const QStringList& values, const char* message) {
    if (keys.size() != values.size())
        throw Exception(QString::fromUtf8(message));
}

// The largest counter of a sheet: the one after the last column or row it may hold.
constexpr int kMaxCounter = SheetCells::kMaxIndex + 2;

// A number of the record read into field; a missing or unreadable one leaves it, one that no
// sheet can have raises Exception.
void readNumber(const QString& text, const QString& key, int& field) {
    bool ok = false;
    const int value = getKeyValue(text, key).toInt(&ok);
    if (!ok)
        return;
    if (value < 0 || value > kMaxCounter)
        throw Exception(QStringLiteral("Неверное значение %1 в записи листа: %2 (оно может быть "
                                       "от 0 до %3)")
                            .arg(key)
                            .arg(value)
                            .arg(kMaxCounter));
    field = value;
}

void readLine(const QString& text, const QString& key, SheetGrid::Option line,
              SheetGrid::Options& options) {
    const QString value = getKeyValue(text, key);
    if (value == QLatin1String("Y"))
        options |= line;
    else if (value == QLatin1String("N"))
        options &= ~SheetGrid::Options(line);
}

QString shownTags(QString tags) {
    return tags.replace(QChar(kKeyValueRecordEnd), u'\n');
}

} // namespace

ReportSheet::ReportSheet(QWidget* parent) : InteractiveSheet(parent) {
    setObjectName(QStringLiteral("reportSheet"));
    setGridOptions(Option::VertLine | Option::HorzLine | Option::RangeSelect);
    zeroCounters();
    commands().registerCommand(QStringLiteral("_MCR"),
                               [this](const QString& arguments) { readMcr(arguments); });
    onSaveExtra = [this] { return QStringLiteral("_MCR(") + mcrText() + QStringLiteral(") "); };

    m_tagDumpAction = buildAction(this, ActionSpec{QStringLiteral("tagDumpAction"),
                                                   QStringLiteral("Параметры ячейки"), -1,
                                                   QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y)});
    m_tagDumpAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_tagDumpAction, &QAction::triggered, this, &ReportSheet::onTagDumpTriggered);
    addAction(m_tagDumpAction);
}

void ReportSheet::resetCounters() {
    m_colCounter = xCount() + 1;
    m_rowCounter = yCount() + 1;
}

void ReportSheet::zeroCounters() {
    m_colCounter = 0;
    m_rowCounter = 0;
    m_fixedWidth = 0;
    m_fixedHeight = 0;
}

void ReportSheet::setColumnTags(int x, const QStringList& keys, const QStringList& values) {
    checkPairs(keys, values,
               "T_Set_TechnoParam_byCol: кол-во параметров не соответсвует кол-ву значений");
    for (qsizetype i = 0; i < keys.size(); ++i)
        setCellParam(x, 0, keys[i], values[i]);
}

void ReportSheet::setRowTags(int y, const QStringList& keys, const QStringList& values) {
    checkPairs(keys, values,
               "T_Set_TechnoParam_byRow: кол-во параметров не соответсвует кол-ву значений");
    for (qsizetype i = 0; i < keys.size(); ++i)
        setCellParam(0, y, keys[i], values[i]);
}

QString ReportSheet::columnTag(int x, const QString& key) const {
    return cellParam(x, 0, key);
}

QString ReportSheet::rowTag(int y, const QString& key) const {
    return cellParam(0, y, key);
}

bool ReportSheet::findFirstColumn(int& x, const QStringList& keys,
                                  const QStringList& values) const {
    x = -1;
    return findNextColumn(x, keys, values);
}

bool ReportSheet::findNextColumn(int& x, const QStringList& keys, const QStringList& values) const {
    checkPairs(keys, values, "FindColNext_byTechnoParamsAndValues: High(Parameters)<>High(Values)");
    for (++x; x < xCount(); ++x)
        if (tagsMatch(x, 0, keys, values))
            return true;
    return false;
}

bool ReportSheet::findFirstRow(int& y, const QStringList& keys, const QStringList& values) const {
    y = -1;
    return findNextRow(y, keys, values);
}

bool ReportSheet::findNextRow(int& y, const QStringList& keys, const QStringList& values) const {
    checkPairs(keys, values, "FindRowNext_byTechnoParamsAndValues: High(Parameters)<>High(Values)");
    for (++y; y < yCount(); ++y)
        if (tagsMatch(0, y, keys, values))
            return true;
    return false;
}

bool ReportSheet::tagsMatch(int x, int y, const QStringList& keys,
                            const QStringList& values) const {
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (cellParam(x, y, keys[i]) != values[i])
            return false;
    return true;
}

void ReportSheet::gridKeyPress(QChar& key) {
    InteractiveSheet::gridKeyPress(key);
    if (onAfterKeyPress)
        onAfterKeyPress();
}

QString ReportSheet::mcrText() const {
    QString text;
    text = setKeyValue(text, kMaxCols, QString::number(m_colCounter));
    text = setKeyValue(text, kMaxRows, QString::number(m_rowCounter));
    text = setKeyValue(text, kFixedWidth, QString::number(m_fixedWidth));
    text = setKeyValue(text, kFixedHeight, QString::number(m_fixedHeight));
    text =
        setKeyValue(text, kHorzLine,
                    gridOptions() & Option::HorzLine ? QStringLiteral("Y") : QStringLiteral("N"));
    text =
        setKeyValue(text, kVertLine,
                    gridOptions() & Option::VertLine ? QStringLiteral("Y") : QStringLiteral("N"));
    return text;
}

void ReportSheet::readMcr(const QString& text) {
    readNumber(text, kMaxCols, m_colCounter);
    readNumber(text, kMaxRows, m_rowCounter);
    readNumber(text, kFixedWidth, m_fixedWidth);
    readNumber(text, kFixedHeight, m_fixedHeight);
    Options options = gridOptions();
    readLine(text, kHorzLine, Option::HorzLine, options);
    readLine(text, kVertLine, Option::VertLine, options);
    setGridOptions(options);
}

QString ReportSheet::tagDump() const {
    return QStringLiteral("============> Параметры колонки\n") +
           shownTags(cellParams(currentCol(), 0)) +
           QStringLiteral("============> Параметры строки\n") +
           shownTags(cellParams(0, currentRow())) +
           QStringLiteral("============> Параметры ячейки\n") +
           shownTags(cellParams(currentCol(), currentRow()));
}

void ReportSheet::onTagDumpTriggered() {
    commitEdit();
    dialogs::showMessage(tagDump());
}
