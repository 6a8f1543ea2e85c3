#pragma once

#include "core/date_time.h"
#include "core/exceptions.h"
#include "core/numbers.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class DataStore;

namespace fb {
class DataSet;
class Statement;
class Transaction;
} // namespace fb

// OPER.TYP of the cash documents: money in (from a payer), money out (to a recipient).
inline constexpr int kIncomeDocument = 1;
inline constexpr int kIssueDocument = 2;

// The keys of a cash order's accounting fields in its ETC text; stored data.
inline constexpr char kAccountKey[] = "DT";   // the correspondent account
inline constexpr char kAnalyticsKey[] = "KT"; // the analytical accounting code

// A cash document: its row of OPER with the columns typed. An empty text is a null column.
struct CashDocument {
    int key = 0;                     // PRKEY
    int type = 0;                    // TYP: kIncomeDocument or kIssueDocument
    QString number;                  // NUM
    std::optional<DateTime> date;    // DAT, with its time of day
    std::optional<DateTime> date2;   // DAT2
    int partner = 0;                 // LPART, a key of PARTS; 0 for none
    QString paymentType;             // REASON, the payment type's name
    std::optional<Currency> amount;  // SUM1
    std::optional<Currency> taxPart; // SUM2, the value-added tax within the amount
    std::array<QString, 3> purposes; // PURP1, PURP2, PURP3
    QString extra;                   // ETC, the key=value text of the document's own fields

    friend bool operator==(const CashDocument&, const CashDocument&) = default;
};

// The first of the checks before a save that document fails, as the user is told: the partner
// ("Не указан партнер!"), the payment type, blanks alone counting as none ("Не указан тип
// платежа!"), the amount ("Не указана сумма!"); empty when it passes them all. An amount of 0
// passes.
QString saveProblem(const CashDocument& document);

// The number after last: last read as a whole decimal number, blanks around it allowed, plus
// one; "1" when last is empty, holds anything but blanks and digits, or the next number would
// not fit 64 bits.
QString nextDocumentNumber(const QString& last);

// A save or a delete that the book refused while it wrote (a trigger's exception, a lost
// connection): nothing of it was kept. The message is the book's.
class DocumentNotStored : public Exception {
public:
    using Exception::Exception;
};

// The cash documents of the open book (table OPER) and their access records (HISTORY), for one
// document at a time: a document window has one, and its transaction is the window's.
//
//   CashDocuments documents(DataStore::instance());
//   std::optional<CashDocument> read = documents.read(key, kIncomeDocument);
//   CashDocument changed = *read;
//   changed.number = "15";
//   documents.update(changed, *read); // locked, compared with what was read, written, committed
//
// A document that another window or another copy of the program changed or deleted since it was
// read here, or is writing now, is not overwritten: update and remove then raise
// RowChangedElsewhere (store/stored_row.h) with the message for the user and write nothing.
// Other refusals of the book raise DocumentNotStored. Either way the transaction is rolled back
// and the document may be saved again.
class CashDocuments {
public:
    explicit CashDocuments(DataStore& store);
    ~CashDocuments();
    CashDocuments(const CashDocuments&) = delete;
    CashDocuments& operator=(const CashDocuments&) = delete;

    // Reads and writes run here; it starts with the first read or new document.
    fb::Transaction& transaction() { return *m_transaction; }

    // A new document of type, not stored yet: its key drawn from the generator now (a key not
    // used is lost), dated now with the time of day.
    CashDocument newDocument(int type);
    // The document of key when it is of type; none when there is no such row or it is of
    // another type.
    std::optional<CashDocument> read(int key, int type);
    // The document of key, of any type.
    std::optional<CashDocument> read(int key);

    // Notes in HISTORY, committed at once, that the logged-on user opened the document of key
    // and type now; nothing for key 0.
    void noteOpening(int key, int type);
    // Stores a new document with the HISTORY row of its first save.
    void insert(const CashDocument& document);
    // Stores document over the row that asRead holds as it was read.
    void update(const CashDocument& document, const CashDocument& asRead);
    // Deletes the row that asRead holds as it was read.
    void remove(const CashDocument& asRead);

    // The payment type of the partner's latest other document of the type (by date, of two on
    // one date the later entered); none when the partner has no other document of the type.
    std::optional<QString> latestPaymentType(const CashDocument& document);
    // The purposes of the latest document (by date) of the type, partner and payment type, the
    // document itself among the candidates; empty ones when there is none.
    std::array<QString, 3> latestPurposes(const CashDocument& document);
    // The number proposed for a new issue document: the one after the number of the latest
    // issue document by date (of two on the same date the later entered), "1" when there is
    // none.
    QString proposedIssueNumber();

    // Opens on list the openings of the document key, the latest first: DAT and the user's name
    // LNAM. Openings by nobody logged on (LUSER 0) are not listed.
    static void openHistory(fb::DataSet& list, int documentKey);

private:
    // Runs write (the changes of a save) and commits; on any failure rolls back and raises the
    // exception for the caller.
    void writeAndCommit(const std::function<void()>& write);
    void writeHistory(fb::Transaction& transaction, int key, int type);
    void bindColumns(fb::Statement& statement, const CashDocument& document);

    DataStore& m_store;
    std::unique_ptr<fb::Transaction> m_transaction;
};
