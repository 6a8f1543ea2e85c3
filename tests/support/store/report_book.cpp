#include "tests/support/store/report_book.h"

#include "core/exceptions.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/new_book.h"

#include <QDateTime>

namespace reportbook {

namespace {

constexpr int kNoPartner = 999999;

QVariant amountValue(const std::optional<Currency>& amount) {
    return amount ? QVariant(amount->toDouble()) : QVariant();
}

} // namespace

DateTime at(const QString& text) {
    for (const char* format : {"yyyy-MM-dd hh:mm:ss.zzz", "yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime value = QDateTime::fromString(text, QString::fromLatin1(format));
        if (value.isValid())
            return datetime::encode(value);
    }
    throw Exception(QStringLiteral("no date-time: ") + text);
}

Currency cents(qint64 value) {
    return Currency{value * 100};
}

ReportBook::ReportBook(BookKind kind) {
    fb::prepareEmbeddedEngine();
    m_path = createNewBook(kind, QStringLiteral("Отчеты"), m_place.folder(),
                           schematest::templatesFolder());
    database().attach(m_path);
}

void ReportBook::execute(const QString& sql, const QList<QVariant>& values) {
    fb::Transaction tr(database());
    fb::Statement statement(tr, sql);
    for (int i = 0; i < values.size(); ++i)
        statement.param(i).setValue(values.at(i));
    statement.execute();
    tr.commit();
}

void ReportBook::setOwnerName(const QString& name) {
    execute(QStringLiteral("UPDATE PARTS SET LNAM=:LNAM WHERE PRKEY=0"), {name});
}

int ReportBook::addPartner(int type, const QString& name, const QString& city) {
    const int key = store().newKey(QStringLiteral("PARTS"));
    execute(QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM, CITY, LOWNER) VALUES (:PRKEY, "
                           ":TYP, :LNAM, :CITY, 0)"),
            {key, type, name, city.isEmpty() ? QVariant() : QVariant(city)});
    m_partners.append({key, type, name, city});
    return key;
}

int ReportBook::addPaymentType(int type, const QString& name, std::optional<Currency> limit) {
    const int key = store().newKey(QStringLiteral("REASONS"));
    execute(QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON, LIMIT) VALUES (:PRKEY, "
                           ":TYP, :REASON, :LIMIT)"),
            {key, type, name, amountValue(limit)});
    return key;
}

int ReportBook::addDocument(int type, DateTime date, int partner, const QString& paymentType,
                            Currency amount, const QString& number) {
    const int key = store().newKey(QStringLiteral("OPER"));
    const QString num = number.isEmpty() ? QString::number(key) : number;
    execute(QStringLiteral("INSERT INTO OPER (PRKEY, TYP, DAT, NUM, LPART, REASON, SUM1) VALUES "
                           "(:PRKEY, :TYP, :DAT, :NUM, :LPART, :REASON, :SUM1)"),
            {key, type, datetime::decode(date), num, partner == 0 ? kNoPartner : partner,
             paymentType, amount.toDouble()});
    m_documents.append({key, type, date, num, partner, paymentType, amount});
    return key;
}

int ReportBook::addStoredReport(int type, DateTime start, DateTime end,
                                std::optional<Currency> sum2) {
    const int key = store().newKey(QStringLiteral("OPER"));
    execute(QStringLiteral("INSERT INTO OPER (PRKEY, TYP, DAT, DAT2, SUM2) VALUES (:PRKEY, :TYP, "
                           ":DAT, :DAT2, :SUM2)"),
            {key, type, datetime::decode(start), datetime::decode(end), amountValue(sum2)});
    return key;
}

const WrittenPartner& ReportBook::partner(int key) const {
    for (const WrittenPartner& partner : m_partners)
        if (partner.key == key)
            return partner;
    throw Exception(QStringLiteral("no partner %1").arg(key));
}

} // namespace reportbook
