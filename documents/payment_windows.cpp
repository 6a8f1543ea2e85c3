#include "documents/payment_windows.h"

#include "documents/book_query.h"
#include "platform/firebird/data_set.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The purposes of the latest document of a type, partner and payment type.
constexpr char kPaymentTypeRuleSql[] =
    "SELECT O.PURP1,O.PURP2,O.PURP3,O.DAT FROM OPER O\n"
    "WHERE O.TYP=:ITYP and O.LPART=:ILPART and O.REASON=:IREASON\n"
    "ORDER BY O.DAT DESC,O.PRKEY DESC";

const char* const kPurposeFields[] = {"PURP1", "PURP2", "PURP3"};

} // namespace

PaymentWindow::PaymentWindow(DocumentKind kind, const QString& title)
    : DocumentWindow(kind, title) {
    QGroupBox* purposes = makeGroup(QStringLiteral("purposeGroup"),
                                    QStringLiteral("Назначение платежа"), 5023, Qt::Vertical);
    for (int line = 0; line < 3; ++line) {
        m_purposeEdits[line] =
            addGroupEdit(purposes, QStringLiteral("purposeEdit%1").arg(line + 1), 100);
        bindEdit(m_purposeEdits[line], QString::fromLatin1(kPurposeFields[line]), FieldKind::Text);
    }
    headLayout()->addWidget(amountGroup());
    headLayout()->addWidget(purposes);
    setFieldOrder({numberEdit(), dateEdit(), partnerEdit(), paymentTypeEdit(), amountEdit(),
                   m_purposeEdits[0], m_purposeEdits[1], m_purposeEdits[2]});
    row().field(QStringLiteral("REASON")).setOnChange([this](fb::DataField&) {
        applyPaymentTypeRule();
    });
}

void PaymentWindow::applyPaymentTypeRule() {
    QString purposes[3];
    {
        BookQuery latest(QString::fromLatin1(kPaymentTypeRuleSql));
        const fb::DataField& partner = row().field(QStringLiteral("LPART"));
        latest.param(QStringLiteral("ITYP")).setInteger(type());
        if (partner.isNull())
            latest.param(QStringLiteral("ILPART")).setNull();
        else
            latest.param(QStringLiteral("ILPART")).setInteger(partner.asInteger());
        latest.param(QStringLiteral("IREASON"))
            .setString(row().field(QStringLiteral("REASON")).asString());
        if (latest.first())
            for (int line = 0; line < 3; ++line)
                purposes[line] = latest.field(QString::fromLatin1(kPurposeFields[line])).asString();
    }
    for (int line = 0; line < 3; ++line)
        setFieldText(row().field(QString::fromLatin1(kPurposeFields[line])), purposes[line]);
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

void PaymentOrderWindow::newDocument() {
    PaymentWindow::newDocument();
    proposeIssueNumber();
}
