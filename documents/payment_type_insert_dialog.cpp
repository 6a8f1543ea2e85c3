#include "documents/payment_type_insert_dialog.h"

#include "platform/firebird/data_set.h"

std::optional<int> PaymentTypeInsertDialog::insertPaymentType(QWidget* owner,
                                                              const QString& proposedName,
                                                              int paymentType) {
    PaymentTypeInsertDialog dialog(owner, paymentType);
    return dialog.insertRecord(proposedName);
}

PaymentTypeInsertDialog::PaymentTypeInsertDialog(QWidget* owner, int paymentType)
    : InsertDialog(owner, QStringLiteral("REASONS")), m_paymentType(paymentType) {
    setObjectName(QStringLiteral("paymentTypeInsertDialog"));
    setWindowTitle(QStringLiteral("Тип платежа"));
    setKeyEdit(addFieldEdit(QStringLiteral("nameEdit"), QStringLiteral("* Тип платежа"),
                            QStringLiteral("REASON"), 100));
    dataSet().setInsertSQL(
        QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON)\nVALUES (:PRKEY, :TYP, :REASON)"));
}

void PaymentTypeInsertDialog::initFields() {
    dataSet().field(QStringLiteral("REASON")).setAsString(proposedName());
    dataSet().field(QStringLiteral("TYP")).setAsInteger(m_paymentType);
}
