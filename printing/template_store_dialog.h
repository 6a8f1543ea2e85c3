#pragma once

#include "printing/template_printer.h"

#include "ui/owned_dialog.h"

#include <memory>
#include <optional>

class DataGrid;
class QAction;
class QMenu;
class QToolBar;

namespace fb {
class DataSet;
}

namespace printing {

// The template chosen for a print, and whether it prints or shows.
struct ChosenTemplate {
    PrintTemplate printTemplate;
    TemplateOutput output = TemplateOutput::Print;
};

// The print templates of one document type for one program, in which the user picks the
// template for the document being printed ("Печать" or "Просмотр"; Enter and a double click
// print), and, once "Изменить" is down, keeps them: adds one from a file, renames, deletes, and
// edits one in the word processor (the edit outlives the dialog, see TemplateEdit). Every
// change is committed at once.
class TemplateStoreDialog : public OwnedDialog {
    Q_OBJECT
public:
    // The help context of the dialog.
    static constexpr int kHelpContext = 4;

    // docType: OPER.TYP of the documents the templates serve (PRINTFORMS.LTYP).
    TemplateStoreDialog(QWidget* owner, const QString& caption, int docType,
                        TemplateProgram program);
    ~TemplateStoreDialog() override;

    // Shows the templates and runs the dialog; the template chosen, none when it was closed.
    std::optional<ChosenTemplate> run();

    // Reads the list again and stands on the row it stood on, else on the first one.
    void refreshList();

    DataGrid* grid() const { return m_grid; }
    fb::DataSet& templates() { return *m_templates; }
    QAction* printAction() const { return m_printAction; }
    QAction* previewAction() const { return m_previewAction; }
    // Checked: the commands that change the list show.
    QAction* changeAction() const { return m_changeAction; }
    QAction* addAction() const { return m_addAction; }
    QAction* editAction() const { return m_editAction; }
    QAction* renameAction() const { return m_renameAction; }
    QAction* deleteAction() const { return m_deleteAction; }
    QAction* helpAction() const { return m_helpAction; }
    QAction* closeAction() const { return m_closeAction; }
    QWidget* editPanel() const { return m_editPanel; }

private slots:
    void onPrintTriggered();
    void onPreviewTriggered();
    void onChangeToggled(bool checked);
    void onAddTriggered();
    void onEditTriggered();
    void onRenameTriggered();
    void onDeleteTriggered();
    void onHelpTriggered();
    void onGridMenuRequested(const QPoint& at);

private:
    void createActions();
    QToolBar* createChoiceBar();
    QWidget* createEditPanel();
    QToolBar* createWindowBar();
    void choose(TemplateOutput output);
    void addFromFile(const QString& path);

    int m_docType;
    TemplateProgram m_program;
    std::unique_ptr<fb::DataSet> m_templates;
    std::optional<ChosenTemplate> m_chosen;
    DataGrid* m_grid;
    QWidget* m_editPanel = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_previewAction = nullptr;
    QAction* m_changeAction = nullptr;
    QAction* m_addAction = nullptr;
    QAction* m_editAction = nullptr;
    QAction* m_renameAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_closeAction = nullptr;
};

} // namespace printing
