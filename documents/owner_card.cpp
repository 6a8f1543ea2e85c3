#include "documents/owner_card.h"

#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/stored_row.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const kNameKeys[] = {kDirectorNameKey, kChiefAccountantNameKey, kCashierNameKey};
const QString kEtcField = QStringLiteral("ETC");
const QString kChangedElsewhere =
    QStringLiteral("Запись изменена или удалена в другом окне или другим пользователем, пока "
                   "была открыта здесь. Реквизиты прочитаны заново; ваши изменения не "
                   "сохранены.");

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
    m_readEtc = row.field(kEtcField).asString();
    const QList<QLineEdit*> edits = nameEdits();
    for (int i = 0; i < edits.size(); ++i)
        edits[i]->setText(getKeyValue(m_readEtc, kNameKeys[i]));
}

QList<QLineEdit*> OwnerCard::nameEdits() const {
    return {m_directorEdit, m_chiefAccountantEdit, m_cashierEdit};
}

bool OwnerCard::namesChanged() const {
    const QList<QLineEdit*> edits = nameEdits();
    for (int i = 0; i < edits.size(); ++i)
        if (edits[i]->text() != getKeyValue(m_readEtc, kNameKeys[i]))
            return true;
    return false;
}

void OwnerCard::storeRecord() {
    fb::DataSet& row = dataSet();
    row.post();
    if (!row.updatesPending() && !namesChanged())
        return; // only looked at: the requisites as another copy stored them stay
    try {
        takeStoredEtc();
    } catch (const RowChangedElsewhere&) {
        row.rollbackRetaining();
        openOwnerRow();
        loadFieldEdits();
        throw;
    } catch (...) {
        // The card stays open: the row must not stay locked for the other copies meanwhile.
        row.rollbackRetaining();
        throw;
    }
    DataStore::instance().postAndCommit(row);
}

void OwnerCard::takeStoredEtc() {
    fb::DataSet& row = dataSet();
    const StoredRow stored(row.transaction(), QStringLiteral("PARTS"), kOwnerKey,
                           kChangedElsewhere);
    stored.requireAsRead(row, {kEtcField});
    QString etc = stored.text(kEtcField);
    const QList<QLineEdit*> edits = nameEdits();
    for (int i = 0; i < edits.size(); ++i) {
        if (getKeyValue(etc, kNameKeys[i]) != getKeyValue(m_readEtc, kNameKeys[i]))
            throw RowChangedElsewhere(kChangedElsewhere);
        etc = setKeyValue(etc, kNameKeys[i], edits[i]->text());
    }
    DataStore::instance().editIfBrowsing(row);
    row.field(kEtcField).setAsString(etc);
}
