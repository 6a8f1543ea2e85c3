#include "documents/payment_types_pane.h"

#include "platform/firebird/data_set.h"
#include "store/data_store.h"
#include "store/payment_types.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {

const QString kKindField = QStringLiteral("TYP");

QString kindText(const QVariant& kind) {
    if (kind.isNull())
        return QString();
    switch (kind.toInt()) {
    case kIncomePaymentType:
        return QStringLiteral("Приход");
    case kIssuePaymentType:
        return QStringLiteral("Расход");
    default:
        return QString();
    }
}

} // namespace

PaymentTypesPane::PaymentTypesPane(QWidget* owner)
    : DictionaryPane(QString::fromLatin1(kPaymentTypesTable),
                     QString::fromLatin1(kPaymentTypeNameField), owner) {
    setWindowTitle(QStringLiteral("Типы платежей"));
    PaymentTypes::setDictionaryWrites(query());

    addFieldEdit(QStringLiteral("REASON"), QStringLiteral("* Тип платежа"), 100);
    auto* kindGroup = new QGroupBox(QStringLiteral("*Вид платежа"));
    kindGroup->setObjectName(QStringLiteral("kindGroup"));
    m_kindButtons = new QButtonGroup(kindGroup);
    auto* kindLayout = new QHBoxLayout(kindGroup);
    for (int kind : {kIncomePaymentType, kIssuePaymentType}) {
        auto* button = new QRadioButton(kindText(kind), kindGroup);
        button->setObjectName(kind == kIncomePaymentType ? QStringLiteral("incomeButton")
                                                         : QStringLiteral("issueButton"));
        m_kindButtons->addButton(button, kind);
        kindLayout->addWidget(button);
    }
    kindLayout->addStretch(1);
    addFieldRow(QString(), kindGroup);
    followField(kindGroup, kKindField, [this] { showKind(); });
    connect(m_kindButtons, &QButtonGroup::idClicked, this, &PaymentTypesPane::onKindClicked);

    // The kind in words in the grid.
    setDisplayText(QStringLiteral("RTYP"), kindText);
    setGridColumns(*grid(), {{"REASON", Qt::AlignLeft, "Тип платежа", 350},
                             {"RTYP", Qt::AlignLeft, "Вид платежа", 100}});
}

QString PaymentTypesPane::rowsSelect(bool hiddenView) const {
    return PaymentTypes::dictionarySelect(hiddenView);
}

void PaymentTypesPane::initNewRow() {
    query().field(kKindField).setAsInteger(kIssuePaymentType);
}

void PaymentTypesPane::beforePost() {
    requireName();
}

void PaymentTypesPane::showKind() {
    if (QAbstractButton* button = m_kindButtons->button(currentText(kKindField).toInt())) {
        button->setChecked(true);
        return;
    }
    m_kindButtons->setExclusive(false);
    for (QAbstractButton* button : m_kindButtons->buttons())
        button->setChecked(false);
    m_kindButtons->setExclusive(true);
}

void PaymentTypesPane::onKindClicked(int kind) {
    const bool taken = runGuarded([this, kind] {
        DataStore::instance().editIfBrowsing(query());
        query().field(kKindField).setAsInteger(kind);
    });
    if (!taken)
        showKind();
}
