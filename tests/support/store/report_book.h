#pragma once

#include "core/date_time.h"
#include "core/numbers.h"
#include "store/book_kind.h"
#include "tests/support/store/schema_support.h"

#include <QList>
#include <QString>
#include <optional>

// A new book in a temporary folder with the data store on it, filled by a test with partners,
// payment types, documents and stored reports; what was written is kept for the test to compute
// its expectations from.
namespace reportbook {

// QDateTime's "yyyy-MM-dd hh:mm:ss.zzz" (the time may be left out) as a date-time.
DateTime at(const QString& text);

// Cents as an amount: cents(1050) is 10.50.
Currency cents(qint64 value);

struct WrittenPartner {
    int key = 0;
    int type = 0;
    QString name;
    QString city;
};

struct WrittenDocument {
    int key = 0;
    int type = 0;
    DateTime date = 0;
    QString number;
    int partner = 0; // 0: a key no partner has
    QString paymentType;
    Currency amount;
};

class ReportBook {
public:
    explicit ReportBook(BookKind kind = BookKind::BankAccount);

    DataStore& store() { return m_place.store(); }
    fb::Attachment& database() { return store().database(); }
    // The book's file, for a connection of another copy of the program.
    const QString& path() const { return m_path; }

    // Sets the owner's name (the owner row of PARTS).
    void setOwnerName(const QString& name);
    int addPartner(int type, const QString& name, const QString& city = {});
    // A payment type of REASONS; a limit of none leaves it null.
    int addPaymentType(int type, const QString& name, std::optional<Currency> limit = {});
    // A document of OPER; partner 0 names a partner that does not exist.
    int addDocument(int type, DateTime date, int partner, const QString& paymentType,
                    Currency amount, const QString& number = {});
    // A stored report row of OPER (its sheet text empty).
    int addStoredReport(int type, DateTime start, DateTime end, std::optional<Currency> sum2);

    const QList<WrittenPartner>& partners() const { return m_partners; }
    const QList<WrittenDocument>& documents() const { return m_documents; }
    const WrittenPartner& partner(int key) const;

private:
    void execute(const QString& sql, const QList<QVariant>& values);

    schematest::Workplace m_place;
    QString m_path;
    QList<WrittenPartner> m_partners;
    QList<WrittenDocument> m_documents;
};

} // namespace reportbook
