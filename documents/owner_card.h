#pragma once

#include "documents/partner_insert_dialog.h"
#include "store/partners.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;

// The requisites of the open book: the partner fields of the owner row of PARTS, and the names
// of the director, the chief accountant and the cashier kept in the row's ETC among the book's
// options. The kind of book is fixed when the book is made: its group stays hidden. OK writes
// nothing when nothing was changed. Saving locks the row in the writing transaction and
// compares it with the row as the card read it: when another window or copy of the program
// changed the requisites or the three names meanwhile, nothing is written, the card says so
// and shows the requisites as they are now. Otherwise only the three names are set in ETC as it
// stands, so options another copy wrote meanwhile are kept.
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
    // The names in the edits of the director, the chief accountant and the cashier.
    OwnerNames typedNames() const;

    QString m_readEtc; // ETC as the card read it

    QGroupBox* m_kindGroup = nullptr;
    QButtonGroup* m_kindButtons = nullptr;
    QLineEdit* m_directorEdit = nullptr;
    QLineEdit* m_chiefAccountantEdit = nullptr;
    QLineEdit* m_cashierEdit = nullptr;
};
