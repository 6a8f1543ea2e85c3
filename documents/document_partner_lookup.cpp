#include "documents/document_partner_lookup.h"

#include "store/data_store.h"
#include "store/partners.h"

#include <QListWidget>

void DocumentPartnerLookup::loadItems() {
    setRecords(Partners(DataStore::instance()).listed(m_partnerType));
}

void DocumentPartnerLookup::filterItems() {
    fillList(lastFilter());
    if (list()->count() == 0)
        return;
    const int row = rowOfKey(m_currentKey);
    selectRow(row >= 0 ? row : 0);
}
