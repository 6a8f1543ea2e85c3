#pragma once

#include "documents/lookup_list_popup.h"

// The partner of a document: the partners of one type, the document's own partner selected
// while it is listed, else the first one.
class DocumentPartnerLookup : public LookupListPopup {
    Q_OBJECT
public:
    explicit DocumentPartnerLookup(QWidget* owner) : LookupListPopup(owner) {}

    // PARTS.TYP of the partners listed: 1 payers, 2 recipients.
    void setPartnerType(int type) { m_partnerType = type; }
    // The document's partner (its LPART).
    void setCurrentKey(int key) { m_currentKey = key; }

protected:
    void loadItems() override;
    void filterItems() override;

private:
    int m_partnerType = 0;
    int m_currentKey = 0;
};
