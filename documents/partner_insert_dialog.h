#pragma once

#include "documents/insert_dialog.h"

// The card of a partner (table PARTS): name, city, the bank's city and name, the bank code, the
// enterprise code, the account and the tax code, in this order; the name is the key field.
// Adds a new payer or recipient typed into a document and not found in the list.
class PartnerInsertDialog : public InsertDialog {
    Q_OBJECT
public:
    // A new payer (TYP 1) or recipient (TYP 2), its name proposed; the new key, or nothing when
    // the card was cancelled. The card is modal for the window of owner.
    static std::optional<int> insertPayer(QWidget* owner, const QString& proposedName);
    static std::optional<int> insertRecipient(QWidget* owner, const QString& proposedName);

protected:
    explicit PartnerInsertDialog(QWidget* owner);

private:
    static std::optional<int> insertPartner(QWidget* owner, const QString& caption, int partnerType,
                                            const QString& proposedName);
    // The proposed name and the partner type.
    void initFields() override;

    int m_partnerType = 0;
};
