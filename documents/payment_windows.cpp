#include "documents/payment_windows.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

PaymentWindow::PaymentWindow(DocumentKind kind, const QString& title)
    : DocumentWindow(kind, title) {
    QGroupBox* purposes = makeGroup(QStringLiteral("purposeGroup"),
                                    QStringLiteral("Назначение платежа"), 5023, Qt::Vertical);
    for (int line = 0; line < 3; ++line) {
        m_purposeEdits[line] =
            addGroupEdit(purposes, QStringLiteral("purposeEdit%1").arg(line + 1), 100);
        bindEdit(m_purposeEdits[line], purposeField(line));
    }
    headLayout()->addWidget(amountGroup());
    headLayout()->addWidget(purposes);
    setFieldOrder({numberEdit(), dateEdit(), partnerEdit(), paymentTypeEdit(), amountEdit(),
                   m_purposeEdits[0], m_purposeEdits[1], m_purposeEdits[2]});
}

void PaymentWindow::paymentTypeChanged(CashDocument& document) {
    document.purposes = documents().latestPurposes(document);
}

IncomingPaymentWindow::IncomingPaymentWindow()
    : PaymentWindow(DocumentKind::IncomingPayment, QStringLiteral("Приход на Р/С №")) {}

QWidget* IncomingPaymentWindow::widgetAfterEnter(QWidget* field) const {
    if (field == amountEdit())
        return saveButton();
    return PaymentWindow::widgetAfterEnter(field);
}

PaymentOrderWindow::PaymentOrderWindow()
    : PaymentWindow(DocumentKind::PaymentOrder, QStringLiteral("Платежное поручение №")) {}

void PaymentOrderWindow::prepareNewDocument(CashDocument& document) {
    proposeIssueNumber(document);
}
