#pragma once

#include "documents/lookup_list_popup.h"

// The payment type of a document: the types of income or of issue. It opens with every type
// listed whatever the start text, the one named exactly by the text selected (else the first);
// typing then narrows the list.
class PaymentTypeLookup : public LookupListPopup {
    Q_OBJECT
public:
    explicit PaymentTypeLookup(QWidget* owner) : LookupListPopup(owner) {}

    // REASONS.TYP of the types listed: 1 income, 2 issue.
    void setPaymentType(int type) { m_paymentType = type; }

protected:
    void loadItems() override;
    void filterItems() override;

private:
    int m_paymentType = 0;
    bool m_firstShow = true;
};
