#include "script/fmSQLExec.h"

#include "platform/firebird/fbAttachment.h"
#include "script/uSqlInterpreter.h"
#include "util/uCp1251.h"
#include "util/uGuard.h"
#include "util/uMessageBox.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

// Linux names are case-sensitive: both spellings of each extension.
const char* const kFilter =
    "UQL&SQL Files (*.UQL *.uql *.SQL *.sql);;UQL Files (*.UQL *.uql);;All Files (*)";

class OverrideCursor {
public:
    OverrideCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~OverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

TfrmSQLExec::TfrmSQLExec(QWidget* owner)
    : QWidget(owner, Qt::Window), m_folder(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("frmSQLExec"));
    buildLayout();
}

TfrmSQLExec::~TfrmSQLExec() = default;

void TfrmSQLExec::buildLayout() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    setFont(font);
    resize(602, 416);

    m_buttons = new QWidget(this);
    m_buttons->setObjectName(QStringLiteral("paButtons"));
    m_buttons->setFixedHeight(41);
    m_load = new QPushButton(QStringLiteral("&Load"), m_buttons);
    m_load->setObjectName(QStringLiteral("btnLoad"));
    m_load->setGeometry(24, 8, 250, 25);
    m_execute = new QPushButton(QStringLiteral("&Execute"), m_buttons);
    m_execute->setObjectName(QStringLiteral("btnExecute"));
    m_execute->setGeometry(312, 8, 250, 25);

    m_source = new QPlainTextEdit(this);
    m_source->setObjectName(QStringLiteral("mmSQLSource"));
    m_source->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_source->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_source->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_source->setBackgroundRole(QPalette::Button);
    m_source->setContextMenuPolicy(Qt::NoContextMenu);
    m_source->installEventFilter(this);
    m_source->viewport()->installEventFilter(this);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prbrSQLProgress"));
    m_progress->setFixedHeight(16);
    m_progress->setTextVisible(false);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("stbrStatus"));
    m_status->setSizeGripEnabled(false);
    m_caretPanel = new QLabel(m_status);
    m_caretPanel->setFixedWidth(200);
    m_secondPanel = new QLabel(m_status);
    m_secondPanel->setFixedWidth(50);
    m_status->addWidget(m_caretPanel);
    m_status->addWidget(m_secondPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_buttons);
    layout->addWidget(m_source, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmSQLExec"));
    m_popup->addAction(QStringLiteral("&Load"), this,
                       [this] { runGuarded([this] { btnLoadClick(); }); });
    m_popup->addAction(QStringLiteral("&Save"), this,
                       [this] { runGuarded([this] { miSaveClick(); }); });
    m_popup->addSeparator();
    m_popup->addAction(QStringLiteral("&Execute"), this,
                       [this] { runGuarded([this] { btnExecuteClick(); }); });

    connect(m_load, &QPushButton::clicked, this,
            [this] { runGuarded([this] { btnLoadClick(); }); });
    connect(m_execute, &QPushButton::clicked, this,
            [this] { runGuarded([this] { btnExecuteClick(); }); });
    connect(m_source, &QPlainTextEdit::cursorPositionChanged, this, &TfrmSQLExec::UpdateStatus);
}

void TfrmSQLExec::Execute(fb::Attachment& database, bool run) {
    if (m_database != &database) {
        m_database = &database;
        m_interpreter = std::make_unique<TSqlInterpreter>(database);
        m_interpreter->setProgress([this](int line, int count) { showProgress(line, count); });
    }
    setWindowTitle(database.path());
    UpdateStatus();
    if (run)
        btnExecuteClick();
    else
        show();
}

void TfrmSQLExec::RunScript(fb::Attachment& database, const QString& text, QWidget* owner) {
    auto* form = new TfrmSQLExec(owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->mmSQLSource()->setPlainText(text);
    {
        OverrideCursor cursor;
        form->Execute(database, true);
    }
    delete form;
}

void TfrmSQLExec::btnExecuteClick() {
    if (!m_interpreter)
        return;
    const QStringList lines = TSqlInterpreter::splitLines(m_source->toPlainText());
    if (lines.isEmpty())
        return;
    m_progress->setRange(0, qMax(0, int(lines.size()) - 1));
    m_progress->setValue(0);
    try {
        m_interpreter->run(lines);
    } catch (...) {
        show();
        throw;
    }
    m_progress->setValue(0);
}

void TfrmSQLExec::showProgress(int line, int count) {
    m_progress->setMaximum(qMax(0, count - 1));
    m_progress->setValue(line);
    m_progress->repaint();
}

void TfrmSQLExec::btnLoadClick() {
    QString path;
    if (!dialogs::openFileName(this, QString(), m_folder, QLatin1String(kFilter), path))
        return;
    m_folder = QFileInfo(path).absolutePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(path));
    m_source->setPlainText(cp1251::decode(file.readAll()));
}

void TfrmSQLExec::miSaveClick() {
    QString path;
    if (!dialogs::saveFileName(this, QString(), m_folder, QLatin1String(kFilter),
                               QStringLiteral("uql"), path))
        return;
    m_folder = QFileInfo(path).absolutePath();
    QByteArray bytes;
    for (const QString& line : TSqlInterpreter::splitLines(m_source->toPlainText()))
        bytes += cp1251::encode(line) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Не удается записать файл \"%1\"").arg(path));
}

void TfrmSQLExec::UpdateStatus() {
    const QTextCursor cursor = m_source->textCursor();
    m_caretPanel->setText(
        QStringLiteral("Line %1 / %2").arg(cursor.blockNumber()).arg(cursor.positionInBlock() + 1));
}

bool TfrmSQLExec::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        UpdateStatus();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmSQLExec::contextMenuEvent(QContextMenuEvent* event) {
    m_popup->exec(event->globalPos());
}
