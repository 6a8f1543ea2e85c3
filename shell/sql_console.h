#pragma once

#include "store/carried_scripts.h"

#include <QWidget>
#include <memory>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class ScriptInterpreter;

namespace fb {
class Attachment;
}

// The SQL console: a view on the script interpreter. The creation and upgrade scripts run
// through it without showing it; when a run fails the window shows the script.
class SqlConsole : public QWidget {
    Q_OBJECT
public:
    explicit SqlConsole(QWidget* owner = nullptr);
    ~SqlConsole() override;

    QPlainTextEdit* sourceEdit() const { return m_sourceEdit; }

    // Points the interpreter at the database; runs the editor's text at once when run is true
    // (a failure shows the window and raises again), else shows the window.
    virtual void execute(fb::Attachment& database, bool run);

    // Runs a script on the database without a window; on failure the console stays open,
    // shown with the script, and the error passes on.
    static void runScript(fb::Attachment& database, const QString& text, QWidget* owner = nullptr);
    // A runner of scripts on the data store's open database through runScript.
    static ScriptRunner scriptRunner(QWidget* owner = nullptr);

    void onExecuteClicked();
    void onLoadClicked();
    void onSaveTriggered();
    void updateStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildLayout();
    void showProgress(int line, int count);

    fb::Attachment* m_database = nullptr;
    std::unique_ptr<ScriptInterpreter> m_interpreter;
    QWidget* m_buttonPanel = nullptr;
    QPushButton* m_loadButton = nullptr;
    QPushButton* m_executeButton = nullptr;
    QPlainTextEdit* m_sourceEdit = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_caretPanel = nullptr;
    QLabel* m_secondPanel = nullptr;
    QMenu* m_popupMenu = nullptr;
    QString m_folder;
};
