#pragma once

#include "ui/owned_dialog.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFormLayout;
class QLineEdit;
class QScrollArea;

namespace fb {
class DataSet;
}

// The base of the small cards that add one dictionary record while a document is being filled
// in, and of the owner card: the fields in a scroll area, Enter moving from one to the next, OK
// and "Отмена" beside the note on the required fields, Esc closing the card as cancelled. The
// card is modal for its owner's window. OK refuses a key field that is blank: it says so and
// closes the card as cancelled, so nothing is stored. A database error of the save is shown and
// the card stays open.
class InsertDialog : public OwnedDialog {
    Q_OBJECT
public:
    ~InsertDialog() override;

protected:
    // table: the table of the record, whose generator gives a new record its key.
    InsertDialog(QWidget* owner, const QString& table);

    // Runs the card on a new row of the table, its key taken at once (a key not used is lost);
    // the key when the row was stored. The dataset holds the statements of a new row (set by
    // the card from the table's class in store/). The key field takes one character fewer than its
    // column, so that the new record can be hidden.
    std::optional<int> insertRecord(const QString& proposedName);
    // Runs the card on the current row of the dataset (the new row, or one the caller opened);
    // true when it was stored.
    bool editRecord();

    fb::DataSet& dataSet() { return *m_dataSet; }
    const QString& proposedName() const { return m_proposedName; }

    // Adds a labelled edit of a text field of the row below the fields added before.
    QLineEdit* addFieldEdit(const QString& objectName, const QString& label, const QString& field,
                            int maxLength);
    // Adds a labelled edit that stands for no field of the row.
    QLineEdit* addPlainEdit(const QString& objectName, const QString& label);
    // Adds a widget across the whole width of the fields.
    void addWideField(QWidget* widget);
    // The edit that OK refuses to find blank, focused when the card shows; every card sets one.
    void setKeyEdit(QLineEdit* edit) { m_keyEdit = edit; }

    // Fills a new row once it has its key; the base leaves it as inserted.
    virtual void initFields() {}
    // Stores the row as the edits left it: post, apply and commit.
    virtual void storeRecord();
    // Shows the values of the row in the edits of its fields.
    void loadFieldEdits();

    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onOkTriggered();

private:
    struct FieldEdit {
        QLineEdit* edit;
        QString field;
    };

    void buildLayout();
    void fitFieldsArea();
    void storeFieldEdits();

    QString m_table;
    QString m_proposedName;
    std::unique_ptr<fb::DataSet> m_dataSet;
    std::vector<FieldEdit> m_fieldEdits;
    QScrollArea* m_fieldsArea = nullptr;
    QFormLayout* m_fields = nullptr;
    QLineEdit* m_keyEdit = nullptr;
    QAction* m_okAction = nullptr;     // "OK"
    QAction* m_cancelAction = nullptr; // "Отмена"
};
