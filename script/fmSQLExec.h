#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class TSqlInterpreter;

namespace fb {
class Attachment;
}

// The SQL console: a view on the script interpreter. The creation and upgrade scripts run
// through it without showing it; when a run fails the window shows the script.
class TfrmSQLExec : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSQLExec(QWidget* owner = nullptr);
    ~TfrmSQLExec() override;

    QPlainTextEdit* mmSQLSource() const { return m_source; }

    // Points the interpreter at the database; runs the editor's text at once when run is true
    // (a failure shows the window and raises again), else shows the window.
    virtual void Execute(fb::Attachment& database, bool run);

    // Runs a script on the database without a window; on failure the console stays open,
    // shown with the script, and the error passes on.
    static void RunScript(fb::Attachment& database, const QString& text, QWidget* owner = nullptr);

    void btnExecuteClick();
    void btnLoadClick();
    void miSaveClick();
    void UpdateStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildLayout();
    void showProgress(int line, int count);

    fb::Attachment* m_database = nullptr;
    std::unique_ptr<TSqlInterpreter> m_interpreter;
    QWidget* m_buttons = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_execute = nullptr;
    QPlainTextEdit* m_source = nullptr;
    QProgressBar* m_progress = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_caretPanel = nullptr;
    QLabel* m_secondPanel = nullptr;
    QMenu* m_popup = nullptr;
    QString m_folder;
};
