#include "store/stored_reports.h"

#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "store/read_only_select.h"
#include "store/stored_row.h"

#include <functional>

namespace {

constexpr char kTable[] = "OPER";

constexpr char kReadSql[] = "SELECT PRKEY,TYP,SUM1,SUM2,DAT,DAT2,ETC\n"
                            "FROM OPER O\n"
                            "WHERE O.PRKEY=:PRKEY\n"
                            "and O.TYP=:TYP";
constexpr char kInsertSql[] = "insert into OPER\n"
                              "(PRKEY, TYP, SUM1, SUM2, DAT, DAT2, ETC)\n"
                              "values\n"
                              "(:PRKEY, :TYP, :SUM1, :SUM2, :DAT, :DAT2, :ETC)";
constexpr char kUpdateSql[] = "update OPER\n"
                              "set TYP=:TYP, SUM1=:SUM1, SUM2=:SUM2, DAT=:DAT, DAT2=:DAT2, "
                              "ETC=:ETC\n"
                              "where PRKEY=:PRKEY";
constexpr char kDeleteSql[] = "delete from OPER\nwhere PRKEY=:PRKEY";
constexpr char kLatestEndSql[] = "SELECT MAX(O.DAT2) as SDAT FROM OPER O\nWHERE O.TYP=:TYP";
constexpr char kBrowserSql[] = "SELECT O.PRKEY,O.SUM1,O.DAT,O.SUM2 FROM OPER O\n"
                               "WHERE TYP=:ITYP\n"
                               "and O.DAT BETWEEN :SDAT and :EDAT\n"
                               "ORDER BY DAT DESC";

const QString kChangedElsewhere =
    QStringLiteral("Отчет изменен или удален в другом окне или другим пользователем, пока был "
                   "открыт здесь. Закройте окно без сохранения и откройте отчет снова.");

std::optional<Currency> amountOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return currencyFromDouble(value.toDouble());
}

DateTime dateOf(const QVariant& value) {
    return value.isNull() ? 0 : value.toDouble();
}

// The report of the current row of a read.
StoredReport reportOf(const fb::Statement& row) {
    StoredReport report;
    report.key = int(row.field("PRKEY").asInteger());
    report.type = int(row.field("TYP").asInteger());
    report.start = row.field("DAT").asDateTime();
    report.end = row.field("DAT2").asDateTime();
    report.sum1 = amountOf(row.field("SUM1").asVariant());
    report.closingFigure = amountOf(row.field("SUM2").asVariant());
    report.sheetText = row.field("ETC").asString();
    return report;
}

// The same of the row as the book holds it at a save.
StoredReport reportOf(const StoredRow& row) {
    StoredReport report;
    report.key = row.value("PRKEY").toInt();
    report.type = row.value("TYP").toInt();
    report.start = dateOf(row.value("DAT"));
    report.end = dateOf(row.value("DAT2"));
    report.sum1 = amountOf(row.value("SUM1"));
    report.closingFigure = amountOf(row.value("SUM2"));
    report.sheetText = row.text("ETC");
    return report;
}

void setAmount(fb::Param param, const std::optional<Currency>& amount) {
    if (amount)
        param.setFloat(amount->toDouble());
    else
        param.setNull();
}

void bindColumns(fb::Statement& statement, const StoredReport& report) {
    statement.param("PRKEY").setInteger(report.key);
    statement.param("TYP").setInteger(report.type);
    setAmount(statement.param("SUM1"), report.sum1);
    setAmount(statement.param("SUM2"), report.closingFigure);
    statement.param("DAT").setDateTime(report.start);
    statement.param("DAT2").setDateTime(report.end);
    if (report.sheetText.isEmpty())
        statement.param("ETC").setNull();
    else
        statement.param("ETC").setString(report.sheetText);
}

// A report that another window or user changed, deleted or is writing since it was read is not
// overwritten.
void requireAsRead(fb::Transaction& transaction, const StoredReport& asRead) {
    requireRowAsRead(transaction, kTable, asRead.key, kChangedElsewhere,
                     [&](const StoredRow& stored) { return reportOf(stored) == asRead; });
}

// Runs write in a transaction of its own and commits it; on any failure the transaction is
// rolled back (by its end) and the exception goes on.
void writeAndCommit(DataStore& store, const std::function<void(fb::Transaction&)>& write) {
    fb::Transaction transaction(store.database());
    write(transaction);
    transaction.commit();
}

} // namespace

int StoredReports::newKey() {
    return m_store.newKey(QString::fromLatin1(kTable));
}

std::optional<StoredReport> StoredReports::read(int key, int type) const {
    ReadOnlySelect read(m_store, kReadSql);
    read.param("PRKEY").setInteger(key);
    read.param("TYP").setInteger(type);
    if (!read.first())
        return std::nullopt;
    return reportOf(read.row());
}

void StoredReports::save(const StoredReport& report, const std::optional<StoredReport>& asRead) {
    writeAndCommit(m_store, [&](fb::Transaction& transaction) {
        if (asRead)
            requireAsRead(transaction, *asRead);
        fb::Statement write(transaction, QString::fromLatin1(asRead ? kUpdateSql : kInsertSql));
        bindColumns(write, report);
        write.execute();
    });
}

void StoredReports::remove(const StoredReport& asRead) {
    writeAndCommit(m_store, [&](fb::Transaction& transaction) {
        requireAsRead(transaction, asRead);
        fb::Statement remove(transaction, QString::fromLatin1(kDeleteSql));
        remove.param("PRKEY").setInteger(asRead.key);
        remove.execute();
    });
}

std::optional<DateTime> StoredReports::latestEnd(int type) const {
    ReadOnlySelect latest(m_store, kLatestEndSql);
    latest.param("TYP").setInteger(type);
    if (!latest.first() || latest.row().field(0).isNull())
        return std::nullopt;
    return latest.row().field(0).asDateTime();
}

void StoredReports::selectBrowserRows(fb::DataSet& rows, int type, DateTime from, DateTime to) {
    rows.setSQL(QString::fromLatin1(kBrowserSql));
    rows.setParam(QStringLiteral("ITYP"), type);
    rows.setParamDateTime(QStringLiteral("SDAT"), from);
    rows.setParamDateTime(QStringLiteral("EDAT"), to);
}
