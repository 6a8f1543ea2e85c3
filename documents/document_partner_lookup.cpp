#include "documents/document_partner_lookup.h"

#include <QListWidget>

void DocumentPartnerLookup::loadItems() {
    loadRecords(QString::fromLatin1(kPartnersSql), m_partnerType);
}

void DocumentPartnerLookup::filterItems() {
    fillList(lastFilter());
    if (list()->count() == 0)
        return;
    const int row = rowOfKey(m_currentKey);
    selectRow(row >= 0 ? row : 0);
}
