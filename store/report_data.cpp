#include "store/report_data.h"

#include "core/cp1251.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_kind.h"
#include "store/cash_documents.h"
#include "store/data_store.h"
#include "store/payment_types.h"
#include "store/read_only_select.h"
#include "store/stored_reports.h"
#include "store/stored_row.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

constexpr char kOpeningBalanceSql[] = "SELECT O.DAT,O.SUM2 FROM OPER O\n"
                                      "WHERE O.TYP=:TYP and O.DAT2<:DAT\n"
                                      "ORDER BY O.DAT DESCENDING";

// Grouped and ordered by the book's comparison of names. A day is the whole days since
// 30.12.1899, as a date-time counts them.
constexpr char kDayAmountsSql[] =
    "SELECT O.TYP, O.REASON, DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT) AS DAY_NUMBER,\n"
    "SUM(O.SUM1) AS SM\n"
    "FROM OPER O\n"
    "WHERE O.TYP IN (:INC, :ISSUE)\n"
    "and O.DAT BETWEEN :SDAT and :EDAT\n"
    "GROUP BY O.TYP, O.REASON, DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT)\n"
    "ORDER BY 1, 2, 3";

// Every document of the period, those without a partner row too: they count for nothing but
// bring their payment types (their groups have PARTNERED 0).
constexpr char kPartnerAmountsSql[] =
    "SELECT P.LNAM, O.REASON, SUM(CASE WHEN P.PRKEY IS NULL THEN 0 ELSE O.SUM1 END) AS SM,\n"
    "COUNT(P.PRKEY) AS PARTNERED\n"
    "FROM OPER O LEFT JOIN PARTS P ON O.LPART=P.PRKEY\n"
    "WHERE O.TYP=:TYP\n"
    "and O.DAT BETWEEN :SDAT and :EDAT\n"
    "GROUP BY P.LNAM, O.REASON\n"
    "ORDER BY 1, 2";

// The documents of one day by partner name, city and number, whatever their times of day.
constexpr char kRegisterSql[] =
    "SELECT O.PRKEY,O.LPART,O.NUM,P.CITY,O.TYP,O.DAT,P.LNAM,O.SUM1,O.REASON\n"
    "FROM OPER O, PARTS P\n"
    "WHERE P.PRKEY=O.LPART and O.TYP=:TYP\n"
    "and O.DAT BETWEEN :SDAT and :EDAT\n"
    "ORDER BY DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT), P.LNAM, P.CITY, O.NUM";

constexpr char kExpenseTypesSql[] = "SELECT R.PRKEY, R.REASON, R.LIMIT FROM REASONS R\n"
                                    "WHERE R.TYP=:RTYP\n"
                                    "ORDER BY R.REASON";
// The spending of the period by payment type, matched to the types as the book compares names.
constexpr char kExpenseSpendingSql[] = "SELECT R.PRKEY, SUM(O.SUM1) AS SM\n"
                                       "FROM OPER O, REASONS R\n"
                                       "WHERE R.TYP=:RTYP and R.REASON=O.REASON\n"
                                       "and O.TYP=:OTYP\n"
                                       "and O.DAT BETWEEN :SDAT and :EDAT\n"
                                       "GROUP BY R.PRKEY";

constexpr char kSetLimitSql[] = "UPDATE REASONS SET LIMIT=:LIMIT\nWHERE PRKEY=:PRKEY";

const QString kLimitChangedElsewhere =
    QStringLiteral("Лимит изменен или тип платежа удален в другом окне или другим пользователем, "
                   "пока анализ был открыт здесь. Анализ прочитан заново; ваш лимит не сохранен.");

constexpr char kCellDocumentsSql[] = "SELECT O.PRKEY,O.TYP,O.DAT,O.NUM,O.SUM1,P.LNAM FROM OPER O, "
                                     "PARTS P\n"
                                     "WHERE P.PRKEY=O.LPART\n"
                                     "and O.DAT BETWEEN :SDAT and :EDAT\n"
                                     "and O.TYP=:ITYP\n"
                                     "and O.REASON=:IREASON";
constexpr char kOfPartnerSql[] = "\nand P.LNAM=:ILNAM";

// The book keeps its texts in Windows-1251 under the code page's default collation: it compares
// them byte for byte with the trailing blanks left out (two names that differ only by them are
// one), and orders them so, a name before its own continuations. The names the reports show are
// the book's without those blanks, so that equal names are equal texts here.
QString bookName(const QString& text) {
    qsizetype size = text.size();
    while (size > 0 && text.at(size - 1) == QLatin1Char(' '))
        --size;
    return text.left(size);
}

// The ranks, from 1, of the distinct names in the book's order.
QHash<QString, int> ranksInBookOrder(const QSet<QString>& names) {
    std::vector<std::pair<QByteArray, QString>> keyed;
    for (const QString& name : names)
        keyed.emplace_back(cp1251::encode(name), name);
    std::sort(keyed.begin(), keyed.end());
    QHash<QString, int> ranks;
    for (const auto& [key, name] : keyed)
        ranks.insert(name, int(ranks.size()) + 1);
    return ranks;
}

// An amount of the book (a null one is 0), to its four decimals.
Currency amountOf(const fb::Field& field) {
    return currencyFromDouble(field.asFloat());
}

} // namespace

Currency ReportData::openingBalance(DateTime start) const {
    ReadOnlySelect read(m_store, kOpeningBalanceSql);
    read.param("TYP").setInteger(kMovementReportType);
    read.param("DAT").setDateTime(start);
    read.execute();
    return read.fetch() ? amountOf(read.row().field(1)) : Currency{};
}

std::vector<DayAmount> ReportData::dayAmounts(DateTime from, DateTime to) const {
    ReadOnlySelect read(m_store, kDayAmountsSql);
    read.param("INC").setInteger(kIncomeDocument);
    read.param("ISSUE").setInteger(kIssueDocument);
    read.setPeriod(from, to);
    read.execute();
    std::vector<DayAmount> amounts;
    const fb::Statement& row = read.row();
    // The groups come by document type and payment type: a type's rank goes up where its name
    // changes.
    while (read.fetch()) {
        DayAmount amount;
        amount.documentType = int(row.field(0).asInteger());
        amount.paymentType = bookName(row.field(1).asString());
        amount.day = DateTime(row.field(2).asInteger());
        amount.amount = amountOf(row.field(3));
        if (amounts.empty() || amounts.back().documentType != amount.documentType)
            amount.typeRank = 1;
        else if (amounts.back().paymentType != amount.paymentType)
            amount.typeRank = amounts.back().typeRank + 1;
        else
            amount.typeRank = amounts.back().typeRank;
        amounts.push_back(std::move(amount));
    }
    return amounts;
}

PartnerAmounts ReportData::partnerAmounts(int documentType, DateTime from, DateTime to) const {
    ReadOnlySelect read(m_store, kPartnerAmountsSql);
    read.param("TYP").setInteger(documentType);
    read.setPeriod(from, to);
    read.execute();
    PartnerAmounts result;
    std::vector<PartnerAmount>& amounts = result.amounts;
    QSet<QString> types;
    const fb::Statement& row = read.row();
    // The groups come by partner name: its rank goes up where the name changes.
    while (read.fetch()) {
        const QString paymentType = bookName(row.field(1).asString());
        types.insert(paymentType);
        if (row.field(3).asInteger() == 0)
            continue; // documents without a partner row only
        PartnerAmount amount;
        amount.partnerName = bookName(row.field(0).asString());
        amount.paymentType = paymentType;
        amount.amount = amountOf(row.field(2));
        if (amounts.empty())
            amount.nameRank = 1;
        else if (amounts.back().partnerName != amount.partnerName)
            amount.nameRank = amounts.back().nameRank + 1;
        else
            amount.nameRank = amounts.back().nameRank;
        amounts.push_back(std::move(amount));
    }
    const QHash<QString, int> typeRanks = ranksInBookOrder(types);
    result.paymentTypes.resize(typeRanks.size());
    for (auto it = typeRanks.cbegin(); it != typeRanks.cend(); ++it)
        result.paymentTypes[it.value() - 1] = it.key();
    for (PartnerAmount& amount : amounts)
        amount.typeRank = typeRanks.value(amount.paymentType);
    return result;
}

QString ReportData::ownerName() const {
    return m_store.fieldValue(QStringLiteral("PARTS"), QStringLiteral("LNAM"), kOwnerKey);
}

std::vector<RegisterDocument> ReportData::registerDocuments(int documentType, DateTime from,
                                                            DateTime to) const {
    ReadOnlySelect read(m_store, kRegisterSql);
    read.param("TYP").setInteger(documentType);
    read.setPeriod(from, to);
    read.execute();
    std::vector<RegisterDocument> documents;
    const fb::Statement& row = read.row();
    while (read.fetch()) {
        RegisterDocument document;
        document.key = int(row.field(0).asInteger());
        document.number = row.field(2).asString();
        document.type = int(row.field(4).asInteger());
        document.date = row.field(5).asDateTime();
        document.partner = row.field(6).asString();
        document.amount = amountOf(row.field(7));
        document.paymentType = row.field(8).asString();
        documents.push_back(std::move(document));
    }
    return documents;
}

std::vector<ExpenseLine> ReportData::expenseLines(DateTime from, DateTime to) const {
    ReadOnlySelect types(m_store, kExpenseTypesSql);
    types.param("RTYP").setInteger(kIssuePaymentType);
    types.execute();
    std::vector<ExpenseLine> lines;
    while (types.fetch()) {
        ExpenseLine line;
        line.key = int(types.row().field(0).asInteger());
        line.paymentType = types.row().field(1).asString();
        line.limit = amountOf(types.row().field(2));
        lines.push_back(std::move(line));
    }
    ReadOnlySelect spending(m_store, kExpenseSpendingSql);
    spending.param("RTYP").setInteger(kIssuePaymentType);
    spending.param("OTYP").setInteger(kIssueDocument);
    spending.setPeriod(from, to);
    spending.execute();
    while (spending.fetch()) {
        const int key = int(spending.row().field(0).asInteger());
        for (ExpenseLine& line : lines)
            if (line.key == key)
                line.spending = amountOf(spending.row().field(1));
    }
    return lines;
}

void ReportData::setExpenseLimit(int key, Currency limit, Currency asRead) {
    fb::Transaction transaction(m_store.database());
    requireRowAsRead(
        transaction, kPaymentTypesTable, key, kLimitChangedElsewhere, [&](const StoredRow& stored) {
            return currencyFromDouble(stored.value(QStringLiteral("LIMIT")).toDouble()) == asRead;
        });
    fb::Statement update(transaction, QString::fromLatin1(kSetLimitSql));
    update.param(QStringLiteral("PRKEY")).setInteger(key);
    update.param(QStringLiteral("LIMIT")).setFloat(limit.toDouble());
    update.execute();
    transaction.commit();
}

void ReportData::selectCellDocuments(fb::DataSet& list, const CellDocuments& cell) {
    QString sql = QString::fromLatin1(kCellDocumentsSql);
    if (cell.partnerName)
        sql += QLatin1String(kOfPartnerSql);
    list.setSQL(sql);
    list.setParamDateTime(QStringLiteral("SDAT"), cell.from);
    list.setParamDateTime(QStringLiteral("EDAT"), cell.to);
    list.setParam(QStringLiteral("ITYP"), cell.documentType);
    list.setParam(QStringLiteral("IREASON"), cell.paymentType);
    if (cell.partnerName)
        list.setParam(QStringLiteral("ILNAM"), *cell.partnerName);
    list.prepare();
    list.field(QStringLiteral("DAT")).setOnGetText(dateFieldText);
    list.field(QStringLiteral("SUM1")).setDisplayFormat(QStringLiteral("#0.00"));
}
