#include "store/print_templates.h"

#include "core/exceptions.h"
#include "platform/firebird/data_set.h"
#include "store/data_store.h"

void PrintTemplates::setListWrites(fb::DataSet& rows) {
    rows.setInsertSQL(QStringLiteral("INSERT INTO PRINTFORMS (PRKEY, LTYP, NAME, DATA, EXT) "
                                     "VALUES (:PRKEY, :LTYP, :NAME, :DATA, :EXT)"));
    rows.setModifySQL(QStringLiteral("UPDATE PRINTFORMS SET NAME=:NAME WHERE PRKEY=:OLD_PRKEY"));
    rows.setDeleteSQL(QStringLiteral("DELETE FROM PRINTFORMS WHERE PRKEY=:OLD_PRKEY"));
    rows.setRefreshSQL(QStringLiteral("SELECT P.* FROM PRINTFORMS P WHERE P.PRKEY=:PRKEY"));
}

void PrintTemplates::selectList(fb::DataSet& rows, int docType, const QStringList& extensions) {
    // The extensions are the program's constants, never user text.
    QStringList quoted;
    for (const QString& ext : extensions)
        quoted << u'\'' + ext + u'\'';
    rows.setSQL(
        QStringLiteral("SELECT P.*\nFROM PRINTFORMS P\nWHERE P.LTYP=:TYP\nAND P.EXT IN (%1)\n"
                       "ORDER BY P.NAME")
            .arg(quoted.join(u',')));
    rows.setParam(QStringLiteral("TYP"), docType);
}

PrintTemplate PrintTemplates::templateOf(fb::DataSet& rows) {
    return {int(rows.field(QStringLiteral("PRKEY")).asInteger()),
            rows.field(QStringLiteral("NAME")).asString(),
            rows.field(QStringLiteral("DATA")).asBytes(),
            rows.field(QStringLiteral("EXT")).asString().trimmed().toLower()};
}

void PrintTemplates::insertInto(fb::DataSet& rows, int docType,
                                const PrintTemplate& printTemplate) {
    const int key = m_store.newKey(QString::fromLatin1(kPrintTemplatesTable));
    rows.insert();
    rows.field(QStringLiteral("PRKEY")).setAsInteger(key);
    rows.field(QStringLiteral("LTYP")).setAsInteger(docType);
    rows.field(QStringLiteral("NAME")).setAsString(printTemplate.name);
    rows.field(QStringLiteral("DATA")).setAsBytes(printTemplate.data);
    rows.field(QStringLiteral("EXT")).setAsString(printTemplate.ext);
}

void PrintTemplates::storeData(int key, const QByteArray& data) {
    std::unique_ptr<fb::DataSet> row = m_store.createQuery();
    row->setSQL(QStringLiteral("SELECT P.PRKEY, P.DATA FROM PRINTFORMS P WHERE P.PRKEY=:PRKEY"));
    row->setModifySQL(QStringLiteral("UPDATE PRINTFORMS SET DATA=:DATA WHERE PRKEY=:OLD_PRKEY"));
    row->setParam(QStringLiteral("PRKEY"), key);
    row->open();
    if (row->isEmpty())
        throw Exception(QStringLiteral("Печатная форма удалена, пока ее редактировали: измененный "
                                       "документ сохранить некуда."));
    row->edit();
    row->field(QStringLiteral("DATA")).setAsBytes(data);
    m_store.postAndCommit(*row);
    row->commit();
}
