#include "documents/partners_pane.h"

#include "platform/firebird/data_set.h"
#include "store/partners.h"
#include "ui/data_grid.h"

const PartnerKind PayersPane::kKind = {kPayerType, "Плательщики", "TfrmVocsIncome", "VocsIncome"};
const PartnerKind RecipientsPane::kKind = {kRecipientType, "Получатели", "TfrmVocsIssue",
                                           "VocsIssue"};

PartnersPane::PartnersPane(const PartnerKind& kind, QWidget* owner)
    : DictionaryPane(QString::fromLatin1(kPartnersTable), QString::fromLatin1(kPartnerNameField),
                     owner),
      m_kind(kind) {
    setWindowTitle(QString::fromUtf8(kind.title));
    Partners::setDictionaryWrites(query());

    addFieldEdit(QStringLiteral("LNAM"), QStringLiteral("* Форма и название предприятия"), 100);
    addFieldEdit(QStringLiteral("CITY"), QStringLiteral("Город"), 100);
    addFieldEdit(QStringLiteral("INCITY"), QStringLiteral("Город банка"), 100);
    addFieldEdit(QStringLiteral("INBANK"), QStringLiteral("Название банка"), 100);
    addFieldEdit(QStringLiteral("MFO"), QStringLiteral("МФО банка / БИК банка"), 50);
    addFieldEdit(QStringLiteral("ID"), QStringLiteral("ОКПО"), 50);
    addFieldEdit(QStringLiteral("RS"), QStringLiteral("Расчётный счёт"), 50);
    addFieldEdit(QStringLiteral("INDN"), QStringLiteral("Налоговый код"), 50);

    setGridColumns(*grid(), {{"LNAM", Qt::AlignLeft, "Форма и название предприятия", 300},
                             {"CITY", Qt::AlignLeft, "Город", 120},
                             {"INBANK", Qt::AlignLeft, "Название банка", 180},
                             {"MFO", Qt::AlignLeft, "МФО банка / БИК банка", 110},
                             {"RS", Qt::AlignLeft, "Расчётный счёт", 150},
                             {"ID", Qt::AlignLeft, "ОКПО", 90},
                             {"INDN", Qt::AlignLeft, "Налоговый код", 110}});
}

QString PartnersPane::rowsSelect(bool hiddenView) const {
    return Partners::dictionarySelect(m_kind.type, hiddenView);
}

void PartnersPane::initNewRow() {
    query().field(QStringLiteral("TYP")).setAsInteger(m_kind.type);
}

void PartnersPane::beforePost() {
    requireName();
}
