#include "documents/partner_filter_lookup.h"

#include <QListWidget>

void PartnerFilterLookup::loadItems() {
    loadRecords(QString::fromLatin1(kPartnersSql), m_partnerType);
}

void PartnerFilterLookup::filterItems() {
    fillList(lastFilter());
    addLeadingItem(QStringLiteral("Все фирмы"));
    selectRow(list()->count() > 1 ? 1 : 0);
}
