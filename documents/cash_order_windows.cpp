#include "documents/cash_order_windows.h"

#include "core/key_value_text.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The correspondent account of a new cash receipt order.
constexpr char kReceiptAccount[] = "301";

struct PurposeLine {
    const char* objectName;
    const char* caption;
    int helpContext;
};

const PurposeLine kPurposeLines[] = {
    {"variantGroup", "Вариантно", 5024},
    {"basisGroup", "Основание", 5025},
    {"attachmentGroup", "Приложение", 5026},
};

} // namespace

CashOrderWindow::CashOrderWindow(DocumentKind kind, const QString& title)
    : DocumentWindow(kind, title) {
    m_accountsRow = new QWidget(this);
    m_accountsRow->setObjectName(QStringLiteral("accountsRow"));
    QGroupBox* account =
        makeGroup(QStringLiteral("accountGroup"), QStringLiteral("Корр. счет"), 5019);
    m_accountEdit = addGroupEdit(account, QStringLiteral("accountEdit"), 100);
    QGroupBox* analytics =
        makeGroup(QStringLiteral("analyticsGroup"), QStringLiteral("Код анал. учета"), 5019);
    m_analyticsEdit = addGroupEdit(analytics, QStringLiteral("analyticsEdit"), 100);
    auto* accounts = new QHBoxLayout(m_accountsRow);
    accounts->setContentsMargins(0, 0, 0, 0);
    accounts->addWidget(account);
    accounts->addWidget(analytics);
    bindExtraEdit(m_accountEdit, QString::fromLatin1(kAccountKey));
    bindExtraEdit(m_analyticsEdit, QString::fromLatin1(kAnalyticsKey));

    for (int line = 0; line < 3; ++line) {
        const PurposeLine& p = kPurposeLines[line];
        m_purposeGroups[line] = makeGroup(QString::fromLatin1(p.objectName),
                                          QString::fromUtf8(p.caption), p.helpContext);
        m_purposeEdits[line] =
            addGroupEdit(m_purposeGroups[line], QStringLiteral("purposeEdit%1").arg(line + 1), 100);
        bindEdit(m_purposeEdits[line], purposeField(line));
    }
}

CashReceiptWindow::CashReceiptWindow()
    : CashOrderWindow(DocumentKind::CashReceipt, QStringLiteral("Приходный кассовый ордер №")) {
    QGroupBox* tax = makeGroup(QStringLiteral("taxGroup"), QStringLiteral("в том ч. НДС"), 5027);
    m_taxEdit = addAmountEdit(tax, QStringLiteral("taxEdit"));
    bindEdit(m_taxEdit, DocumentField::TaxPart);
    auto* amounts = new QHBoxLayout;
    amounts->addWidget(amountGroup());
    amounts->addWidget(tax);

    headLayout()->addWidget(accountsRow());
    headLayout()->addWidget(purposeGroup(0));
    headLayout()->addLayout(amounts);
    headLayout()->addWidget(purposeGroup(1));
    headLayout()->addWidget(purposeGroup(2));
    setFieldOrder({numberEdit(), dateEdit(), partnerEdit(), paymentTypeEdit(), accountEdit(),
                   analyticsEdit(), purposeEdit(0), amountEdit(), m_taxEdit, purposeEdit(1),
                   purposeEdit(2)});
}

void CashReceiptWindow::prepareNewDocument(CashDocument& document) {
    document.extra = setKeyValue(document.extra, QString::fromLatin1(kAccountKey),
                                 QString::fromLatin1(kReceiptAccount));
}

CashDisbursementWindow::CashDisbursementWindow()
    : CashOrderWindow(DocumentKind::CashDisbursement,
                      QStringLiteral("Расходный кассовый ордер №")) {
    headLayout()->addWidget(accountsRow());
    headLayout()->addWidget(amountGroup());
    for (int line = 0; line < 3; ++line)
        headLayout()->addWidget(purposeGroup(line));
    setFieldOrder({numberEdit(), dateEdit(), partnerEdit(), paymentTypeEdit(), accountEdit(),
                   analyticsEdit(), amountEdit(), purposeEdit(0), purposeEdit(1), purposeEdit(2)});
}

void CashDisbursementWindow::prepareNewDocument(CashDocument& document) {
    proposeIssueNumber(document);
}
