#include "documents/partners_pane.h"

#include "platform/firebird/data_set.h"
#include "ui/data_grid.h"

const PartnerKind PayersPane::kKind = {1, "Плательщики", "TfrmVocsIncome", "VocsIncome"};
const PartnerKind RecipientsPane::kKind = {2, "Получатели", "TfrmVocsIssue", "VocsIssue"};

PartnersPane::PartnersPane(const PartnerKind& kind, QWidget* owner)
    : DictionaryPane(QStringLiteral("PARTS"), QStringLiteral("LNAM"), owner), m_kind(kind) {
    setWindowTitle(QString::fromUtf8(kind.title));
    query().setInsertSQL(
        QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY, INCITY, INBANK, MFO, RS, ID,\n"
                       "INDN, PASSW, LOWNER)\n"
                       "VALUES (:PRKEY, :TYP, :LNAM, :CITY, :INCITY, :INBANK, :MFO, :RS, :ID,\n"
                       ":INDN, :PASSW, :LOWNER)"));
    query().setModifySQL(
        QStringLiteral("UPDATE PARTS SET PRKEY=:PRKEY, TYP=:TYP, LNAM=:LNAM, CITY=:CITY,\n"
                       "INCITY=:INCITY, INBANK=:INBANK, MFO=:MFO, RS=:RS, ID=:ID, INDN=:INDN,\n"
                       "PASSW=:PASSW, LOWNER=:LOWNER\nWHERE PRKEY=:OLD_PRKEY"));
    query().setDeleteSQL(QStringLiteral("DELETE FROM PARTS WHERE PRKEY=:OLD_PRKEY"));

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

QString PartnersPane::selectSql(bool hiddenView) const {
    return QStringLiteral("SELECT * FROM PARTS\n"
                          "WHERE LNAM CONTAINING :MASK\n"
                          "and TYP=%1\n"
                          "AND %2\n"
                          "ORDER BY LNAM")
        .arg(QString::number(m_kind.type), hiddenCondition(QStringLiteral("LNAM"), hiddenView));
}

void PartnersPane::initNewRow() {
    query().field(QStringLiteral("TYP")).setAsInteger(m_kind.type);
}

void PartnersPane::beforePost() {
    requireName();
}
