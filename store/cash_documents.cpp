#include "store/cash_documents.h"

#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "store/read_only_select.h"
#include "store/stored_row.h"

#include <limits>

namespace {

constexpr char kTable[] = "OPER";

constexpr char kReadSql[] = "SELECT O.*\nFROM OPER O\nWHERE O.PRKEY=:PRKEY";
constexpr char kOfTypeSql[] = "\nand O.TYP=:TYP";
constexpr char kInsertSql[] =
    "INSERT INTO OPER (PRKEY, TYP, SUM1, SUM2, NUM, LPART, PURP1, PURP2, PURP3, REASON, DAT, "
    "DAT2, ETC)\nVALUES (:PRKEY, :TYP, :SUM1, :SUM2, :NUM, :LPART, :PURP1, :PURP2, :PURP3, "
    ":REASON, :DAT, :DAT2, :ETC)";
constexpr char kUpdateSql[] =
    "UPDATE OPER SET TYP=:TYP, SUM1=:SUM1, SUM2=:SUM2, NUM=:NUM, LPART=:LPART, PURP1=:PURP1, "
    "PURP2=:PURP2, PURP3=:PURP3, REASON=:REASON, DAT=:DAT, DAT2=:DAT2, ETC=:ETC\n"
    "WHERE PRKEY=:PRKEY";
constexpr char kDeleteSql[] = "DELETE FROM OPER WHERE PRKEY=:PRKEY";

constexpr char kHistoryInsertSql[] = "INSERT INTO HISTORY(PRKEY,TYP,LDOC,LUSER,DAT)\n"
                                     "VALUES(:PRKEY,:TYP,:LDOC,:LUSER,:DAT)";
constexpr char kHistoryListSql[] = "SELECT H.*, U.LNAM\n"
                                   "FROM HISTORY H, USERS U\n"
                                   "WHERE U.PRKEY=H.LUSER\n"
                                   "and H.LDOC=:LDOC\n"
                                   "ORDER BY H.DAT DESCENDING";

constexpr char kLatestPaymentTypeSql[] = "SELECT O.REASON,O.DAT FROM OPER O\n"
                                         "WHERE O.TYP=:ITYP and O.LPART=:ILPART\n"
                                         "  and O.PRKEY<>:PRKEY\n"
                                         "ORDER BY O.DAT DESC,O.PRKEY DESC";
constexpr char kLatestPurposesSql[] =
    "SELECT O.PURP1,O.PURP2,O.PURP3,O.DAT FROM OPER O\n"
    "WHERE O.TYP=:ITYP and O.LPART=:ILPART and O.REASON=:IREASON\n"
    "ORDER BY O.DAT DESC,O.PRKEY DESC";
constexpr char kLatestNumberSql[] = "SELECT O.PRKEY,O.NUM,O.DAT FROM OPER O\n"
                                    "WHERE O.TYP=:TYP\n"
                                    "ORDER BY O.DAT DESCENDING, O.PRKEY DESCENDING";

const char* const kPurposeColumns[] = {"PURP1", "PURP2", "PURP3"};

const QString kChangedElsewhere =
    QStringLiteral("Документ изменен или удален в другом окне или другим пользователем, пока "
                   "был открыт здесь. Закройте окно без сохранения и откройте документ снова.");

std::optional<Currency> amountOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return currencyFromDouble(value.toDouble());
}

std::optional<DateTime> dateOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// The document of the current row of a select of OPER.
CashDocument documentOf(const fb::Statement& row) {
    auto text = [&](const char* column) { return row.field(column).asString(); };
    CashDocument d;
    d.key = int(row.field("PRKEY").asInteger());
    d.type = int(row.field("TYP").asInteger());
    d.number = text("NUM");
    d.date =
        row.field("DAT").isNull() ? std::nullopt : std::optional(row.field("DAT").asDateTime());
    d.date2 =
        row.field("DAT2").isNull() ? std::nullopt : std::optional(row.field("DAT2").asDateTime());
    d.partner = int(row.field("LPART").asInteger());
    d.paymentType = text("REASON");
    d.amount = amountOf(row.field("SUM1").asVariant());
    d.taxPart = amountOf(row.field("SUM2").asVariant());
    for (int line = 0; line < 3; ++line)
        d.purposes[line] = text(kPurposeColumns[line]);
    d.extra = text("ETC");
    return d;
}

// The same of the row as the book holds it at a save.
CashDocument documentOf(const StoredRow& row) {
    CashDocument d;
    d.key = row.value("PRKEY").toInt();
    d.type = row.value("TYP").toInt();
    d.number = row.text("NUM");
    d.date = dateOf(row.value("DAT"));
    d.date2 = dateOf(row.value("DAT2"));
    d.partner = row.value("LPART").toInt();
    d.paymentType = row.text("REASON");
    d.amount = amountOf(row.value("SUM1"));
    d.taxPart = amountOf(row.value("SUM2"));
    for (int line = 0; line < 3; ++line)
        d.purposes[line] = row.text(kPurposeColumns[line]);
    d.extra = row.text("ETC");
    return d;
}

void setText(fb::Param param, const QString& text) {
    if (text.isEmpty())
        param.setNull();
    else
        param.setString(text);
}

void setAmount(fb::Param param, const std::optional<Currency>& amount) {
    if (amount)
        param.setFloat(amount->toDouble());
    else
        param.setNull();
}

void setDate(fb::Param param, const std::optional<DateTime>& date) {
    if (date)
        param.setDateTime(*date);
    else
        param.setNull();
}

void setKey(fb::Param param, int key) {
    if (key == 0)
        param.setNull();
    else
        param.setInteger(key);
}

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// A document that another window or user changed, deleted or is writing since it was read is
// not overwritten.
void requireAsRead(fb::Transaction& transaction, const CashDocument& asRead) {
    requireRowAsRead(transaction, kTable, asRead.key, kChangedElsewhere,
                     [&](const StoredRow& stored) { return documentOf(stored) == asRead; });
}

} // namespace

QString saveProblem(const CashDocument& document) {
    if (document.partner == 0)
        return QStringLiteral("Не указан партнер!");
    if (document.paymentType.trimmed().isEmpty())
        return QStringLiteral("Не указан тип платежа!");
    if (!document.amount)
        return QStringLiteral("Не указана сумма!");
    return QString();
}

QString nextDocumentNumber(const QString& last) {
    const QString digits = last.trimmed();
    if (!isDigits(digits))
        return QStringLiteral("1");
    bool ok = false;
    const qint64 number = digits.toLongLong(&ok);
    if (!ok || number == std::numeric_limits<qint64>::max())
        return QStringLiteral("1");
    return QString::number(number + 1);
}

CashDocuments::CashDocuments(DataStore& store)
    : m_store(store), m_transaction(std::make_unique<fb::Transaction>(store.database())) {}

// What was not committed goes with the transaction.
CashDocuments::~CashDocuments() = default;

CashDocument CashDocuments::newDocument(int type) {
    m_transaction->ensureStarted();
    CashDocument document;
    document.key = m_store.newKey(QString::fromLatin1(kTable));
    document.type = type;
    document.date = datetime::now();
    return document;
}

std::optional<CashDocument> CashDocuments::read(int key, int type) {
    fb::Statement row(*m_transaction, QString::fromLatin1(kReadSql) + QLatin1String(kOfTypeSql));
    row.param("PRKEY").setInteger(key);
    row.param("TYP").setInteger(type);
    row.execute();
    if (!row.fetch())
        return std::nullopt;
    return documentOf(row);
}

std::optional<CashDocument> CashDocuments::read(int key) {
    fb::Statement row(*m_transaction, QString::fromLatin1(kReadSql));
    row.param("PRKEY").setInteger(key);
    row.execute();
    if (!row.fetch())
        return std::nullopt;
    return documentOf(row);
}

void CashDocuments::noteOpening(int key, int type) {
    if (key == 0)
        return;
    fb::Transaction history(m_store.database());
    writeHistory(history, key, type);
    history.commit();
}

void CashDocuments::writeHistory(fb::Transaction& transaction, int key, int type) {
    if (key == 0)
        return;
    const int historyKey = m_store.newKey(QStringLiteral("HISTORY"));
    fb::Statement insert(transaction, QString::fromLatin1(kHistoryInsertSql));
    insert.param("PRKEY").setInteger(historyKey);
    insert.param("TYP").setInteger(type);
    insert.param("LDOC").setInteger(key);
    insert.param("LUSER").setInteger(m_store.userKey());
    insert.param("DAT").setDateTime(datetime::now());
    insert.execute();
}

void CashDocuments::bindColumns(fb::Statement& statement, const CashDocument& document) {
    statement.param("PRKEY").setInteger(document.key);
    statement.param("TYP").setInteger(document.type);
    setAmount(statement.param("SUM1"), document.amount);
    setAmount(statement.param("SUM2"), document.taxPart);
    setText(statement.param("NUM"), document.number);
    setKey(statement.param("LPART"), document.partner);
    for (int line = 0; line < 3; ++line)
        setText(statement.param(kPurposeColumns[line]), document.purposes[line]);
    setText(statement.param("REASON"), document.paymentType);
    setDate(statement.param("DAT"), document.date);
    setDate(statement.param("DAT2"), document.date2);
    setText(statement.param("ETC"), document.extra);
}

void CashDocuments::insert(const CashDocument& document) {
    writeAndCommit([&] {
        writeHistory(*m_transaction, document.key, document.type);
        fb::Statement insert(*m_transaction, QString::fromLatin1(kInsertSql));
        bindColumns(insert, document);
        insert.execute();
    });
}

void CashDocuments::update(const CashDocument& document, const CashDocument& asRead) {
    writeAndCommit([&] {
        requireAsRead(*m_transaction, asRead);
        fb::Statement update(*m_transaction, QString::fromLatin1(kUpdateSql));
        bindColumns(update, document);
        update.execute();
    });
}

void CashDocuments::remove(const CashDocument& asRead) {
    writeAndCommit([&] {
        requireAsRead(*m_transaction, asRead);
        fb::Statement remove(*m_transaction, QString::fromLatin1(kDeleteSql));
        remove.param("PRKEY").setInteger(asRead.key);
        remove.execute();
    });
}

void CashDocuments::writeAndCommit(const std::function<void()>& write) {
    try {
        write();
        m_transaction->commit();
    } catch (...) {
        try {
            if (m_transaction->isActive())
                m_transaction->rollback();
        } catch (...) {
        }
        try {
            throw;
        } catch (const fb::Error& e) {
            throw DocumentNotStored(e.isLockConflict() ? kChangedElsewhere : e.message());
        }
    }
}

std::optional<QString> CashDocuments::latestPaymentType(const CashDocument& document) {
    ReadOnlySelect latest(m_store, kLatestPaymentTypeSql);
    latest.param("ITYP").setInteger(document.type);
    latest.param("ILPART").setInteger(document.partner);
    latest.param("PRKEY").setInteger(document.key);
    if (!latest.first())
        return std::nullopt;
    return latest.row().field("REASON").asString();
}

std::array<QString, 3> CashDocuments::latestPurposes(const CashDocument& document) {
    ReadOnlySelect latest(m_store, kLatestPurposesSql);
    latest.param("ITYP").setInteger(document.type);
    setKey(latest.param("ILPART"), document.partner);
    latest.param("IREASON").setString(document.paymentType);
    std::array<QString, 3> purposes;
    if (latest.first())
        for (int line = 0; line < 3; ++line)
            purposes[line] = latest.row().field(kPurposeColumns[line]).asString();
    return purposes;
}

QString CashDocuments::proposedIssueNumber() {
    ReadOnlySelect latest(m_store, kLatestNumberSql);
    latest.param("TYP").setInteger(kIssueDocument);
    return nextDocumentNumber(latest.first() ? latest.row().field("NUM").asString() : QString());
}

void CashDocuments::openHistory(fb::DataSet& list, int documentKey) {
    list.setSQL(QString::fromLatin1(kHistoryListSql));
    list.setParam(QStringLiteral("LDOC"), documentKey);
    list.open();
}
