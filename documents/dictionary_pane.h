#pragma once

#include "shell/grid_browser_pane.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QWidget;

// A dictionary of the book as a pane: a browse page with the grid and a filter line, and an
// edit page with the fields of one record, OK and Cancel on top. New opens the edit page on a
// new row, Open shows the current row with its fields locked, Edit (on the edit page) unlocks
// them. A record whose name begins with "?" is hidden: pick lists leave it out and the pane
// shows it only in the hidden view, where no record is added. Hide and Restore put the "?" in
// front of the name or take it away and store the row at once; a name that fills its column
// (stored before names were kept one shorter) is not hidden: the pane says why and changes
// nothing. The filter line takes at most the name column's length. A record is deleted only by
// Delete on the edit page, after a question. When the database refuses a change (its triggers
// raise their own messages), the message is shown, and a refused delete leaves the row as it
// was, in the grid and in the book. OK writes a record only when something in it was changed,
// and never for a user without the right to change it; a save or delete of a record that
// another window or copy of the program changed or deleted since it was read here is refused
// with a message, and the rows are read again.
//
// Leaves give the table and its statements, which the table's class in store/ keeps (the select
// of the rows and the writes of the pane's query), the fields (addFieldEdit and addFieldRow in
// their constructor), the grid's columns, the checks before a row is stored and their rights
// area: actions 2 to 5 of the area enable New, Edit, Delete and Hide.
class DictionaryPane : public GridBrowserPane {
    Q_OBJECT
public:
    // table: the table whose generator gives new keys; nameField: the field that holds the name
    // (and its "?").
    DictionaryPane(const QString& table, const QString& nameField, QWidget* owner = nullptr);

    // The user's rights on the commands.
    void prepare() override;
    // Shows the browse page, then embeds as a grid browser does.
    void embed(std::unique_ptr<PaneInfo> paneInfo) override;
    // The select of the view shown (hidden or not), with the filter text and the texts shown
    // for the fields that setDisplayText names.
    void prepareQuery() override;
    // Reads the rows again and stands on the row of key; for key 0 on the row that is current
    // now, or else on the row that followed it; on the first row when both are gone.
    void refreshRows(int key) override;

    // ---- Commands ----
    QAction* editAction() const { return m_editAction; }
    QAction* deleteAction() const { return m_deleteAction; }
    // Checked: the hidden view.
    QAction* hiddenViewAction() const { return m_hiddenViewAction; }
    // Checked while the current record is hidden ("Восстановить"), else "Скрыть".
    QAction* hideAction() const { return m_hideAction; }
    // Ctrl+F: to the filter line.
    QAction* filterAction() const { return m_filterAction; }
    // "Отфильтровать", offered while the filter line has the focus: to the grid.
    QAction* applyFilterAction() const { return m_applyFilterAction; }
    // "Добавить" for a new record, else "OK": stores the row.
    QAction* editOkAction() const { return m_editOkAction; }
    // "Отмена", also Esc on the edit page.
    QAction* editCancelAction() const { return m_editCancelAction; }

    // ---- The browse page ----
    QWidget* browsePage() const { return m_browsePage; }
    QWidget* filterPanel() const { return m_filterPanel; }
    QLineEdit* filterEdit() const { return m_filterEdit; }
    QPushButton* filterButton() const { return m_filterButton; }

    // ---- The edit page ----
    QWidget* editPage() const { return m_editPage; }
    bool isEditPageShown() const;
    // "Добавление", " Просмотр" or " Коррекция".
    QLabel* operationLabel() const { return m_operationLabel; }
    QPushButton* editOkButton() const { return m_editOkButton; }
    QPushButton* editCancelButton() const { return m_editCancelButton; }
    // The scrolling area of the fields; locked while a record is only shown.
    QScrollArea* fieldsArea() const { return m_fieldsArea; }
    // The edit of a field (its name as the table has it); nullptr for none.
    QLineEdit* fieldEdit(const QString& field) const { return m_fieldEdits.value(field); }

protected:
    // The select of the rows, from the table's statements in the store: the hidden ones (names
    // beginning with "?") or the others, by the parameter MASK (the filter text) unless the
    // filter is hidden.
    virtual QString rowsSelect(bool hiddenView) const = 0;
    // The area word of the rights ("VocsIncome"); empty: the commands are not limited.
    virtual QString rightsArea() const { return QString(); }
    // Which commands show and whether the fields may be edited (then the first one gets the
    // focus); the hide command follows the current record's name.
    virtual void setMode(bool browse, bool edit, bool focus);
    // Fills a new row once its key is set; nothing here.
    virtual void initNewRow();
    // Runs when the edit page opens on a record, new or not; nothing here.
    virtual void beforeEdit();
    // Checks and completes the row before it is stored; refuses by throwing. Nothing here.
    virtual void beforePost();
    // Refuses by throwing to hide the current record; nothing here.
    virtual void checkHiding();
    // The columns of the table that the pane never writes: another copy may change them while
    // a record is open here without making its save a conflict. None here.
    virtual QStringList columnsNotWritten() const;

    // An edit of a text field on the edit page, under its label; maxLength is the column's
    // length. The name's edit takes one character fewer, so that every new name can be hidden.
    QLineEdit* addFieldEdit(const QString& field, const QString& label, int maxLength);
    // Any other widget on the edit page, under its label (none when empty). Enter in it, or in
    // any of its parts, moves the focus on.
    void addFieldRow(const QString& label, QWidget* widget);
    // Shows a field's value in widget whenever the current row or that field changes.
    void followField(QWidget* widget, const QString& field, const std::function<void()>& show);
    // Shows the message that the record has no name, puts the focus on the name and aborts,
    // when the name is empty or only blanks.
    void requireName();
    // No filter line and no Ctrl+F: the select takes no MASK.
    void hideFilter();
    QString nameField() const { return m_nameField; }
    // The text of a field of the current row; empty when there is no row or no such field.
    QString currentText(const QString& field);
    // PRKEY of the current row; 0 for none.
    int currentKey();
    // The text shown for the values of a field of the select (a column of the grid).
    void setDisplayText(const QString& field, const std::function<QString(const QVariant&)>& text);

    void onNewTriggered() override;
    void onOpenTriggered() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onEditTriggered();
    void onDeleteTriggered();
    void onHiddenViewToggled();
    void onHideTriggered(bool hide);
    void onFilterTriggered();
    void onApplyFilterTriggered();
    void onEditOkTriggered();
    void onEditCancelTriggered();

private:
    void buildCommands();
    QWidget* buildBrowsePage();
    QWidget* buildEditPage();
    void showEditPage(const QString& operation, const QString& okCaption);
    void showBrowsePage();
    // Stores the row, reads the rows again and goes back to the browse page.
    void save();
    // Writes the current row when it was changed. A record read from the book is written only
    // while the book still holds it as it was read (the row locked and compared in the pane's
    // transaction); otherwise nothing is written, the rows are read again, the browse page
    // shows and the refusal passes on with its message.
    void storeRow();
    // Locks the stored row of key for the pane's transaction; RowChangedElsewhere when it is
    // gone, is being changed elsewhere or no longer holds what the pane read.
    void lockStoredRow(int key);
    // Deletes the current row in the book; a refusal brings it back and passes on.
    void deleteCurrentRow();
    // Drops what the pane wrote or holds unwritten, and reads the rows again, on key.
    void dropChanges(int key);
    void updateHideAction();
    // Refuses, with the reason, to hide a name that fills its column: the "?" would not fit.
    void refuseNameTooLongToHide();
    // The filter line was left: the rows of the new filter text.
    void applyFilter();
    // A widget of the edit page's fields, where Enter moves the focus on.
    bool isFieldWidget(QObject* object) const;

    QString m_table;
    QString m_nameField;
    int m_nameLength = 0; // the name column's length
    bool m_filtered = true;
    // The right to change a record (action 3 of the area); without it OK writes nothing.
    bool m_editAllowed = true;
    QString m_appliedMask;

    QAction* m_editAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_hiddenViewAction = nullptr;
    QAction* m_hideAction = nullptr;
    QAction* m_filterAction = nullptr;
    QAction* m_applyFilterAction = nullptr;
    QAction* m_editOkAction = nullptr;
    QAction* m_editCancelAction = nullptr;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_browsePage = nullptr;
    QWidget* m_filterPanel = nullptr;
    QLineEdit* m_filterEdit = nullptr;
    QPushButton* m_filterButton = nullptr;
    QWidget* m_editPage = nullptr;
    QLabel* m_operationLabel = nullptr;
    QPushButton* m_editOkButton = nullptr;
    QPushButton* m_editCancelButton = nullptr;
    QScrollArea* m_fieldsArea = nullptr;
    QFormLayout* m_fieldsLayout = nullptr;
    QList<QWidget*> m_fields;
    QHash<QString, QLineEdit*> m_fieldEdits;
    QHash<QString, std::function<QString(const QVariant&)>> m_displayTexts;
};
