#pragma once

#include "documents/partner_insert_dialog.h"
#include "store/owner_names.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;

// The requisites of the open book: the partner fields of the owner row of PARTS, and the names
// of the director, the chief accountant and the cashier kept in the row's ETC among the book's
// options. The kind of book is fixed when the book is made: its group stays hidden. Saving
// reads ETC again in the writing transaction, with the row locked, and sets only the three
// names in it, so options another copy of the program wrote meanwhile are kept.
class OwnerCard : public PartnerInsertDialog {
    Q_OBJECT
public:
    // Edits the requisites in a card modal for the window of owner; true when they were stored.
    static bool editOwner(QWidget* owner);

private:
    explicit OwnerCard(QWidget* owner);
    QGroupBox* createKindGroup();
    void openOwnerRow();
    void storeRecord() override;
    // ETC as it stands in the database now, with the three names of the card.
    QString currentEtcWithNames();

    QGroupBox* m_kindGroup = nullptr;
    QButtonGroup* m_kindButtons = nullptr;
    QLineEdit* m_directorEdit = nullptr;
    QLineEdit* m_chiefAccountantEdit = nullptr;
    QLineEdit* m_cashierEdit = nullptr;
};
