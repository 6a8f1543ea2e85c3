#include "documents/partner_filter_lookup.h"

#include "store/data_store.h"
#include "store/partners.h"

#include <QListWidget>

void PartnerFilterLookup::loadItems() {
    setRecords(Partners(DataStore::instance()).listed(m_partnerType));
}

void PartnerFilterLookup::filterItems() {
    fillList(lastFilter());
    addLeadingItem(QStringLiteral("Все фирмы"));
    selectRow(list()->count() > 1 ? 1 : 0);
}
