#include "documents/partner_insert_dialog.h"

#include "platform/firebird/data_set.h"
#include "store/partners.h"

namespace {

struct PartnerField {
    const char* objectName;
    const char* label;
    const char* field;
    int maxLength;
};

// The fields after the name, in their order.
const PartnerField kOtherFields[] = {
    {"cityEdit", "Город", "CITY", 100},
    {"bankCityEdit", "Город банка", "INCITY", 100},
    {"bankNameEdit", "Название банка", "INBANK", 100},
    {"bankCodeEdit", "МФО банка / БИК банка", "MFO", 50},
    {"enterpriseCodeEdit", "ОКПО", "ID", 50},
    {"accountEdit", "Расчётный счёт", "RS", 50},
    {"taxCodeEdit", "Налоговый код", "INDN", 50},
};

} // namespace

PartnerInsertDialog::PartnerInsertDialog(QWidget* owner)
    : InsertDialog(owner, QString::fromLatin1(kPartnersTable)) {
    setKeyEdit(addFieldEdit(QStringLiteral("nameEdit"),
                            QStringLiteral("* Форма и название предприятия"),
                            QStringLiteral("LNAM"), 100));
    for (const PartnerField& f : kOtherFields)
        addFieldEdit(QString::fromLatin1(f.objectName), QString::fromUtf8(f.label),
                     QString::fromLatin1(f.field), f.maxLength);
    Partners::selectNoPartner(dataSet());
}

std::optional<int> PartnerInsertDialog::insertPayer(QWidget* owner, const QString& proposedName) {
    return insertPartner(owner, QStringLiteral("Новый плательщик"), kPayerType, proposedName);
}

std::optional<int> PartnerInsertDialog::insertRecipient(QWidget* owner,
                                                        const QString& proposedName) {
    return insertPartner(owner, QStringLiteral("Новый получатель"), kRecipientType, proposedName);
}

std::optional<int> PartnerInsertDialog::insertPartner(QWidget* owner, const QString& caption,
                                                      int partnerType,
                                                      const QString& proposedName) {
    PartnerInsertDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("partnerInsertDialog"));
    dialog.setWindowTitle(caption);
    dialog.m_partnerType = partnerType;
    return dialog.insertRecord(proposedName);
}

void PartnerInsertDialog::initFields() {
    dataSet().field(QStringLiteral("LNAM")).setAsString(proposedName());
    dataSet().field(QStringLiteral("TYP")).setAsInteger(m_partnerType);
}
