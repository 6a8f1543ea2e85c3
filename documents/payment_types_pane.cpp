#include "documents/payment_types_pane.h"

#include "platform/firebird/data_set.h"
#include "store/data_store.h"
#include "ui/data_grid.h"
#include "ui/guard.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {

const QString kKindField = QStringLiteral("TYP");
constexpr int kIncome = 1;
constexpr int kIssue = 2;

QString kindText(const QVariant& kind) {
    if (kind.isNull())
        return QString();
    switch (kind.toInt()) {
    case kIncome:
        return QStringLiteral("Приход");
    case kIssue:
        return QStringLiteral("Расход");
    default:
        return QString();
    }
}

} // namespace

PaymentTypesPane::PaymentTypesPane(QWidget* owner)
    : DictionaryPane(QStringLiteral("REASONS"), QStringLiteral("REASON"), owner) {
    setWindowTitle(QStringLiteral("Типы платежей"));
    query().setInsertSQL(QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON, LIMIT)\n"
                                        "VALUES (:PRKEY, :TYP, :REASON, :LIMIT)"));
    query().setModifySQL(
        QStringLiteral("UPDATE REASONS SET PRKEY=:PRKEY, TYP=:TYP, REASON=:REASON, LIMIT=:LIMIT\n"
                       "WHERE PRKEY=:OLD_PRKEY"));
    query().setDeleteSQL(QStringLiteral("DELETE FROM REASONS WHERE PRKEY=:OLD_PRKEY"));

    addFieldEdit(QStringLiteral("REASON"), QStringLiteral("* Тип платежа"), 100);
    auto* kindGroup = new QGroupBox(QStringLiteral("*Вид платежа"));
    kindGroup->setObjectName(QStringLiteral("kindGroup"));
    m_kindButtons = new QButtonGroup(kindGroup);
    auto* kindLayout = new QHBoxLayout(kindGroup);
    for (int kind : {kIncome, kIssue}) {
        auto* button = new QRadioButton(kindText(kind), kindGroup);
        button->setObjectName(kind == kIncome ? QStringLiteral("incomeButton")
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

QString PaymentTypesPane::selectSql(bool hiddenView) const {
    return QStringLiteral("SELECT R.*, R.TYP AS RTYP FROM REASONS R\n"
                          "WHERE R.REASON CONTAINING :MASK\n"
                          "AND %1\n"
                          "ORDER BY R.REASON")
        .arg(hiddenCondition(QStringLiteral("R.REASON"), hiddenView));
}

void PaymentTypesPane::initNewRow() {
    query().field(kKindField).setAsInteger(kIssue);
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
