#include "documents/payment_type_insert_dialog.h"

#include "platform/firebird/data_set.h"
#include "store/payment_types.h"

std::optional<int> PaymentTypeInsertDialog::insertPaymentType(QWidget* owner,
                                                              const QString& proposedName,
                                                              int paymentType) {
    PaymentTypeInsertDialog dialog(owner, paymentType);
    return dialog.insertRecord(proposedName);
}

PaymentTypeInsertDialog::PaymentTypeInsertDialog(QWidget* owner, int paymentType)
    : InsertDialog(owner, QString::fromLatin1(kPaymentTypesTable)), m_paymentType(paymentType) {
    setObjectName(QStringLiteral("paymentTypeInsertDialog"));
    setWindowTitle(QStringLiteral("Тип платежа"));
    setKeyEdit(addFieldEdit(QStringLiteral("nameEdit"), QStringLiteral("* Тип платежа"),
                            QStringLiteral("REASON"), 100));
    PaymentTypes::selectNoPaymentType(dataSet());
}

void PaymentTypeInsertDialog::initFields() {
    dataSet().field(QStringLiteral("REASON")).setAsString(proposedName());
    dataSet().field(QStringLiteral("TYP")).setAsInteger(m_paymentType);
}
