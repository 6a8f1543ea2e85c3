#include "documents/owner_card.h"

#include "platform/firebird/data_set.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/partners.h"
#include "store/stored_row.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

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
    Partners::selectOwner(row);
    row.open();
    row.edit();
    const fb::DataField& kind = row.field(QStringLiteral("LOWNER"));
    if (QAbstractButton* button = m_kindButtons->button(int(kind.asInteger()));
        button && !kind.isNull())
        button->setChecked(true);
    m_kindGroup->setEnabled(false);
    m_kindGroup->hide();
    m_readEtc = row.field(kEtcField).asString();
    const OwnerNames names = Partners::ownerNamesOf(m_readEtc);
    m_directorEdit->setText(names.director);
    m_chiefAccountantEdit->setText(names.chiefAccountant);
    m_cashierEdit->setText(names.cashier);
}

OwnerNames OwnerCard::typedNames() const {
    return {m_directorEdit->text(), m_chiefAccountantEdit->text(), m_cashierEdit->text()};
}

void OwnerCard::storeRecord() {
    fb::DataSet& row = dataSet();
    row.post();
    if (!row.updatesPending() && typedNames() == Partners::ownerNamesOf(m_readEtc))
        return; // only looked at: the requisites as another copy stored them stay
    try {
        Partners::takeOwnerNames(row, m_readEtc, typedNames(), kChangedElsewhere);
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
