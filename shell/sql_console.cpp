#include "shell/sql_console.h"

#include "core/cp1251.h"
#include "platform/firebird/attachment.h"
#include "script/script_interpreter.h"
#include "store/data_store.h"
#include "ui/action_builder.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Linux names are case-sensitive: both spellings of each extension.
const char* const kFilter =
    "UQL&SQL Files (*.UQL *.uql *.SQL *.sql);;UQL Files (*.UQL *.uql);;All Files (*)";

} // namespace

SqlConsole::SqlConsole(QWidget* owner)
    : QWidget(owner, Qt::Window), m_loadFolder(QCoreApplication::applicationDirPath()),
      m_saveFolder(m_loadFolder) {
    setObjectName(QStringLiteral("sqlConsole"));
    buildLayout();
}

SqlConsole::~SqlConsole() = default;

QAction* SqlConsole::makeAction(const QString& name, const QString& text,
                                void (SqlConsole::*handler)()) {
    QAction* action = buildAction(this, {.name = name, .text = text});
    // The button shows the text with its mnemonic, as the menu does.
    action->setIconText(text);
    connect(action, &QAction::triggered, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return action;
}

QToolButton* SqlConsole::makeButton(const QString& name, QAction* action, int left) {
    auto* button = new QToolButton(m_buttonPanel);
    button->setObjectName(name);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setDefaultAction(action);
    button->setGeometry(left, 8, 250, 25);
    return button;
}

void SqlConsole::buildLayout() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    setFont(font);
    resize(602, 416);

    m_loadAction = makeAction(QStringLiteral("loadAction"), QStringLiteral("&Load"),
                              &SqlConsole::onLoadTriggered);
    m_saveAction = makeAction(QStringLiteral("saveAction"), QStringLiteral("&Save"),
                              &SqlConsole::onSaveTriggered);
    m_executeAction = makeAction(QStringLiteral("executeAction"), QStringLiteral("&Execute"),
                                 &SqlConsole::onExecuteTriggered);

    m_buttonPanel = new QWidget(this);
    m_buttonPanel->setObjectName(QStringLiteral("buttonPanel"));
    m_buttonPanel->setFixedHeight(41);
    m_loadButton = makeButton(QStringLiteral("loadButton"), m_loadAction, 24);
    m_executeButton = makeButton(QStringLiteral("executeButton"), m_executeAction, 312);

    m_sourceEdit = new QPlainTextEdit(this);
    m_sourceEdit->setObjectName(QStringLiteral("sourceEdit"));
    m_sourceEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sourceEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sourceEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sourceEdit->setBackgroundRole(QPalette::Button);
    m_sourceEdit->setContextMenuPolicy(Qt::NoContextMenu);
    m_sourceEdit->installEventFilter(this);
    m_sourceEdit->viewport()->installEventFilter(this);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setFixedHeight(16);
    m_progressBar->setTextVisible(false);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_caretPanel = new QLabel(m_statusBar);
    m_caretPanel->setObjectName(QStringLiteral("caretPanel"));
    m_caretPanel->setFixedWidth(200);
    m_blankPanel = new QLabel(m_statusBar);
    m_blankPanel->setObjectName(QStringLiteral("blankPanel"));
    m_blankPanel->setFixedWidth(50);
    m_statusBar->addWidget(m_caretPanel);
    m_statusBar->addWidget(m_blankPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_buttonPanel);
    layout->addWidget(m_sourceEdit, 1);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_statusBar);

    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("popupMenu"));
    m_popupMenu->addAction(m_loadAction);
    m_popupMenu->addAction(m_saveAction);
    m_popupMenu->addSeparator();
    m_popupMenu->addAction(m_executeAction);

    connect(m_sourceEdit, &QPlainTextEdit::cursorPositionChanged, this, &SqlConsole::updateStatus);
}

void SqlConsole::execute(fb::Attachment& database, bool run) {
    if (m_database != &database) {
        m_database = &database;
        m_interpreter = std::make_unique<ScriptInterpreter>(database);
        m_interpreter->setProgress([this](int line, int count) { showProgress(line, count); });
        m_interpreter->setFailureReport(dialogs::showMessage);
    }
    setWindowTitle(database.path());
    updateStatus();
    if (run)
        runSource();
    else
        show();
}

void SqlConsole::runScript(fb::Attachment& database, const QString& text, QWidget* owner) {
    auto* form = new SqlConsole(owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->sourceEdit()->setPlainText(text);
    // A failed run leaves the console open with the script; the error passes on.
    execWithSQLWaitCursor([&] { form->execute(database, true); });
    delete form;
}

ScriptRunner SqlConsole::scriptRunner(QWidget* owner) {
    return
        [owner](const QString& text) { runScript(DataStore::instance().database(), text, owner); };
}

void SqlConsole::onExecuteTriggered() {
    runSource();
}

void SqlConsole::runSource() {
    if (!m_interpreter)
        return;
    const QStringList lines = ScriptInterpreter::splitLines(m_sourceEdit->toPlainText());
    if (lines.isEmpty())
        return;
    m_progressBar->setRange(0, qMax(0, int(lines.size()) - 1));
    m_progressBar->setValue(0);
    try {
        m_interpreter->run(lines);
    } catch (...) {
        show();
        throw;
    }
    m_progressBar->setValue(0);
}

void SqlConsole::showProgress(int line, int count) {
    m_progressBar->setMaximum(qMax(0, count - 1));
    m_progressBar->setValue(line);
    m_progressBar->repaint();
}

void SqlConsole::onLoadTriggered() {
    QString path;
    if (!dialogs::openFileName(this, QString(), m_loadFolder, QLatin1String(kFilter), path))
        return;
    m_loadFolder = QFileInfo(path).absolutePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(path));
    m_sourceEdit->setPlainText(cp1251::decode(file.readAll()));
}

void SqlConsole::onSaveTriggered() {
    QString path;
    if (!dialogs::saveFileName(this, QString(), m_saveFolder, QLatin1String(kFilter),
                               QStringLiteral("uql"), path))
        return;
    m_saveFolder = QFileInfo(path).absolutePath();
    QByteArray bytes;
    for (const QString& line : ScriptInterpreter::splitLines(m_sourceEdit->toPlainText()))
        bytes += cp1251::encode(line) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Не удается записать файл \"%1\"").arg(path));
}

void SqlConsole::updateStatus() {
    const QTextCursor cursor = m_sourceEdit->textCursor();
    m_caretPanel->setText(
        QStringLiteral("Line %1 / %2").arg(cursor.blockNumber()).arg(cursor.positionInBlock() + 1));
}

bool SqlConsole::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        updateStatus();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SqlConsole::contextMenuEvent(QContextMenuEvent* event) {
    m_popupMenu->exec(event->globalPos());
}
