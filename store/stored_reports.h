#pragma once

#include "core/date_time.h"
#include "core/numbers.h"

#include <QString>
#include <optional>

class DataStore;

namespace fb {
class DataSet;
}

// OPER.TYP of the stored reports; the register of documents has a type but is never stored.
inline constexpr int kMovementReportType = 101;
inline constexpr int kPayersReportType = 102;
inline constexpr int kRecipientsReportType = 103;
inline constexpr int kDocumentRegisterType = 104;

// A stored report: its row of OPER with the columns typed. A null amount reads as none.
struct StoredReport {
    int key = 0;                           // PRKEY
    int type = 0;                          // TYP: one of the report types above
    DateTime start = 0;                    // DAT: the first day of the period, 00:00
    DateTime end = 0;                      // DAT2: the last day of the period, 23:59:59
    std::optional<Currency> sum1;          // SUM1: not the report's; written back as read
    std::optional<Currency> closingFigure; // SUM2: the closing balance or the grand total
    QString sheetText;                     // ETC: the whole sheet as stored text

    friend bool operator==(const StoredReport&, const StoredReport&) = default;
};

// The stored reports of the open book (rows of OPER of the report types). Each read runs in a
// read-only transaction of its own; each save and delete in a short transaction of its own that
// is committed before it returns, or rolled back when any part fails.
//
//   StoredReports reports(DataStore::instance());
//   std::optional<StoredReport> read = reports.read(key, kMovementReportType);
//   StoredReport changed = *read;
//   changed.sheetText = ...;
//   reports.save(changed, read); // locked, compared with what was read, written, committed
//
// A report that another window or another copy of the program changed or deleted since it was
// read here, or is writing at this moment, is not overwritten: save and remove then raise
// RowChangedElsewhere (store/stored_row.h) with the message for the user and write nothing.
// The book's own refusals pass on as fb::Error.
class StoredReports {
public:
    explicit StoredReports(DataStore& store) : m_store(store) {}

    // A key for a new report, drawn from the generator of OPER now (a key not used is lost).
    int newKey();
    // The report of key when it is of type; none when there is no such row or it is of another
    // type.
    std::optional<StoredReport> read(int key, int type) const;
    // Stores report: a new row when asRead is none, else over the row that asRead holds as it
    // was read.
    void save(const StoredReport& report, const std::optional<StoredReport>& asRead);
    // Deletes the row that asRead holds as it was read.
    void remove(const StoredReport& asRead);

    // The latest end (DAT2) of the stored reports of type; none when there is none.
    std::optional<DateTime> latestEnd(int type) const;

    // Puts on rows the select of a report browser: the reports of type whose period starts (DAT)
    // within from..to, the newest first, with PRKEY, SUM1, DAT and SUM2. The caller opens it.
    static void selectBrowserRows(fb::DataSet& rows, int type, DateTime from, DateTime to);

private:
    DataStore& m_store;
};
