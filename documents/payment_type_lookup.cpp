#include "documents/payment_type_lookup.h"

#include "store/data_store.h"
#include "store/payment_types.h"

#include <QListWidget>

void PaymentTypeLookup::loadItems() {
    setRecords(PaymentTypes(DataStore::instance()).listed(m_paymentType));
}

void PaymentTypeLookup::filterItems() {
    fillList(m_firstShow ? QString() : lastFilter());
    m_firstShow = false;
    if (list()->count() == 0)
        return;
    int row = 0;
    for (int i = 0; i < list()->count(); ++i)
        if (list()->item(i)->text() == lastFilter())
            row = i;
    selectRow(row);
}
