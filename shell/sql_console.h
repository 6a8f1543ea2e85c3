#pragma once

#include "store/carried_scripts.h"

#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QStatusBar;
class QToolButton;
class ScriptInterpreter;

namespace fb {
class Attachment;
}

// The SQL console: a view on the script interpreter. The creation and upgrade scripts run
// through it without showing it; when a run fails the window shows the script. Its commands
// load, save and execute are shared by its buttons and its pop-up menu.
class SqlConsole : public QWidget {
    Q_OBJECT
public:
    explicit SqlConsole(QWidget* owner = nullptr);
    ~SqlConsole() override;

    QPlainTextEdit* sourceEdit() const { return m_sourceEdit; }
    QAction* loadAction() const { return m_loadAction; }
    QAction* saveAction() const { return m_saveAction; }
    QAction* executeAction() const { return m_executeAction; }

    // Points the interpreter at the database; runs the editor's text at once when run is true
    // (a failure shows the window and raises again), else shows the window.
    void execute(fb::Attachment& database, bool run);

    // Runs a script on the database without a window; on failure the console stays open,
    // shown with the script, and the error passes on.
    static void runScript(fb::Attachment& database, const QString& text, QWidget* owner = nullptr);
    // A runner of scripts on the data store's open database through runScript.
    static ScriptRunner scriptRunner(QWidget* owner = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    // Replaces the editor's text with a script file the user chooses, read as Windows-1251.
    void onLoadTriggered();
    // Writes the editor's lines to a file the user chooses, in Windows-1251, each ending in CR LF.
    void onSaveTriggered();
    void onExecuteTriggered();
    // The caret's line (from 0) and column (from 1) in the status bar.
    void updateStatus();

private:
    void buildLayout();
    QAction* makeAction(const QString& name, const QString& text, void (SqlConsole::*handler)());
    QToolButton* makeButton(const QString& name, QAction* action, int left);
    // Runs the editor's text; nothing happens before a database is set or for an empty text.
    // A failure shows the window and raises again.
    void runSource();
    void showProgress(int line, int count);

    fb::Attachment* m_database = nullptr;
    std::unique_ptr<ScriptInterpreter> m_interpreter;
    QAction* m_loadAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_executeAction = nullptr;
    QWidget* m_buttonPanel = nullptr;
    QToolButton* m_loadButton = nullptr;
    QToolButton* m_executeButton = nullptr;
    QPlainTextEdit* m_sourceEdit = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_caretPanel = nullptr;
    QLabel* m_blankPanel = nullptr;
    QMenu* m_popupMenu = nullptr;
    // Each file dialog starts in the folder of its own last file, first beside the program.
    QString m_loadFolder;
    QString m_saveFolder;
};
