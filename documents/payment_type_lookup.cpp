#include "documents/payment_type_lookup.h"

#include <QListWidget>

namespace {

// The payment types of one type (:TYP), the hidden ones left out, by name.
constexpr char kPaymentTypesSql[] = "SELECT R.PRKEY, R.REASON FROM REASONS R\n"
                                    "WHERE R.TYP=:TYP\n"
                                    "AND (NOT R.REASON LIKE '?%')\n"
                                    "ORDER BY R.REASON";

} // namespace

void PaymentTypeLookup::loadItems() {
    loadRecords(QString::fromLatin1(kPaymentTypesSql), m_paymentType);
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
