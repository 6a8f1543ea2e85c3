#pragma once

#include "documents/lookup_list_popup.h"

// The partner filter of the document browsers: "Все фирмы" on top of the partners of one type.
// The first partner is selected, or "Все фирмы" when no partner matches; its key is -1.
class PartnerFilterLookup : public LookupListPopup {
    Q_OBJECT
public:
    explicit PartnerFilterLookup(QWidget* owner) : LookupListPopup(owner) {}

    // PARTS.TYP of the partners listed: 1 payers, 2 recipients.
    void setPartnerType(int type) { m_partnerType = type; }

protected:
    void loadItems() override;
    void filterItems() override;

private:
    int m_partnerType = 0;
};
