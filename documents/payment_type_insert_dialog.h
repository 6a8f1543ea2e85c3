#pragma once

#include "documents/insert_dialog.h"

// The card of a new payment type (table REASONS): its name, the key field.
class PaymentTypeInsertDialog : public InsertDialog {
    Q_OBJECT
public:
    // A new payment type of the given TYP (1 income, 2 issue), its name proposed; the new key,
    // or nothing when the card was cancelled. The card is modal for the window of owner.
    static std::optional<int> insertPaymentType(QWidget* owner, const QString& proposedName,
                                                int paymentType);

private:
    PaymentTypeInsertDialog(QWidget* owner, int paymentType);
    // The proposed name and the payment type's TYP.
    void initFields() override;

    int m_paymentType;
};
