#include "documents/owner_card.h"

#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "store/book_kind.h"
#include "store/data_store.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString captionOf(int ownerType) {
    switch (BookKind(ownerType)) {
    case BookKind::BankAccount:
        return QStringLiteral("Реквизиты Р/С");
    case BookKind::CashDesk:
        return QStringLiteral("Реквизиты кассы");
    }
    return QStringLiteral("Карточка Р/С (кассы)");
}

} // namespace

bool OwnerCard::editOwner(QWidget* owner) {
    OwnerCard card(owner);
    card.openOwnerRow();
    return card.editRecord();
}

OwnerCard::OwnerCard(QWidget* owner) : PartnerInsertDialog(owner) {
    setObjectName(QStringLiteral("ownerCard"));
    setWindowTitle(captionOf(ownerType(DataStore::instance())));
    m_kindGroup = createKindGroup();
    addWideField(m_kindGroup);
    m_directorEdit = addPlainEdit(QStringLiteral("directorEdit"), QStringLiteral("Директор"));
    m_chiefAccountantEdit =
        addPlainEdit(QStringLiteral("chiefAccountantEdit"), QStringLiteral("Главный бухгалтер"));
    m_cashierEdit = addPlainEdit(QStringLiteral("cashierEdit"), QStringLiteral("Кассир"));
}

// LOWNER of the row: "Расчетный счет" (0) or "Касса" (1); shown, never changed here.
QGroupBox* OwnerCard::createKindGroup() {
    auto* group = new QGroupBox(QStringLiteral("Тип"));
    group->setObjectName(QStringLiteral("kindGroup"));
    auto* layout = new QVBoxLayout(group);
    m_kindButtons = new QButtonGroup(group);
    const QString items[] = {QStringLiteral("Расчетный счет"), QStringLiteral("Касса")};
    for (int kind = 0; kind < 2; ++kind) {
        auto* button = new QRadioButton(items[kind], group);
        button->setObjectName(QStringLiteral("kindButton%1").arg(kind));
        m_kindButtons->addButton(button, kind);
        layout->addWidget(button);
    }
    return group;
}

void OwnerCard::openOwnerRow() {
    fb::DataSet& row = dataSet();
    row.setSQL(QStringLiteral("SELECT * FROM PARTS WHERE PRKEY=:IPRKEY"));
    row.setParam(QStringLiteral("IPRKEY"), kOwnerKey);
    row.open();
    row.edit();
    const fb::DataField& kind = row.field(QStringLiteral("LOWNER"));
    if (QAbstractButton* button = m_kindButtons->button(int(kind.asInteger()));
        button && !kind.isNull())
        button->setChecked(true);
    m_kindGroup->setEnabled(false);
    m_kindGroup->hide();
    const QString etc = row.field(QStringLiteral("ETC")).asString();
    m_directorEdit->setText(getKeyValue(etc, kDirectorNameKey));
    m_chiefAccountantEdit->setText(getKeyValue(etc, kChiefAccountantNameKey));
    m_cashierEdit->setText(getKeyValue(etc, kCashierNameKey));
}

void OwnerCard::storeRecord() {
    fb::DataSet& row = dataSet();
    try {
        row.field(QStringLiteral("ETC")).setAsString(currentEtcWithNames());
    } catch (...) {
        // The card stays open: the row must not stay locked for the other copies meanwhile.
        row.rollbackRetaining();
        throw;
    }
    DataStore::instance().postAndCommit(row);
}

QString OwnerCard::currentEtcWithNames() {
    fb::Statement q(dataSet().transaction());
    q.prepare(QStringLiteral("SELECT ETC FROM PARTS WHERE PRKEY=:IPRKEY WITH LOCK"));
    q.param(QStringLiteral("IPRKEY")).setInteger(kOwnerKey);
    q.execute();
    QString etc = q.fetch() ? q.field(0).asString() : QString();
    q.close();
    etc = setKeyValue(etc, kDirectorNameKey, m_directorEdit->text());
    etc = setKeyValue(etc, kChiefAccountantNameKey, m_chiefAccountantEdit->text());
    return setKeyValue(etc, kCashierNameKey, m_cashierEdit->text());
}
