#pragma once

#include "core/date_time.h"
#include "core/numbers.h"
#include "shell/period.h"
#include "store/report_data.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class DataStore;

// The figures of the reports, computed from the documents of the open book apart from the
// sheets that lay them out. A report period covers whole days: from 00:00 of its first day to
// 23:59:59.999 of its last, whatever times its ends carry. Payment types and partner names are
// those of the period's documents, in the book's order of names; names that the book holds
// equal (differing only by trailing blanks) are one.

// The amounts of one row of a report: one per payment type of the figures, in their order (0
// where the row has none), and their total.
struct RowAmounts {
    QList<Currency> byType;
    Currency total;

    // True when any amount of the row is not 0: a row with none gets no id on the sheet.
    bool anyNonZero() const;
};

// One day of the money movement that has documents.
struct MovementDay {
    DateTime day = 0; // 00:00
    RowAmounts income;
    RowAmounts issue;
    // The balance at the end of the day; none for a day whose amounts are all 0.
    std::optional<Currency> balance;
};

struct MovementFigures {
    // The closing balance of the stored movement report with the latest start among those that
    // ended before the period; 0 without one.
    Currency openingBalance;
    QStringList incomeTypes;
    QStringList issueTypes;
    QList<MovementDay> days; // in date order
    RowAmounts incomeTotals; // the column totals
    RowAmounts issueTotals;
    Currency closingBalance;
};

// The money movement of the period, day by day.
MovementFigures computeMovement(DataStore& store, const Period& period);

// One partner name of the payers or recipients report.
struct PartnerRow {
    QString name;
    RowAmounts amounts;
};

struct PartnerFigures {
    QStringList types;
    QList<PartnerRow> rows;
    RowAmounts totals; // the column totals; their total is the grand total
};

// The incoming documents (payers) and the outgoing ones (recipients) of the period by partner
// name and payment type. Documents whose partner is gone are not counted, but their payment
// types have their columns (of 0 where no other document brings an amount).
PartnerFigures computePayers(DataStore& store, const Period& period);
PartnerFigures computeRecipients(DataStore& store, const Period& period);

// The documents of one direction of money in the register, with their total.
struct RegisterSection {
    QList<RegisterDocument> documents; // by day, partner name, partner city and number
    Currency total;
};

struct RegisterFigures {
    QString ownerName;
    RegisterSection incoming;
    RegisterSection outgoing;
};

// Every incoming and every outgoing document of the period (with its partner).
RegisterFigures computeRegister(DataStore& store, const Period& period);

struct ExpenseFigures {
    QList<ExpenseLine> lines; // every issue payment type, by name
};

// Each issue payment type with its limit and its spending in the period.
ExpenseFigures computeExpenseAnalysis(DataStore& store, const Period& period);

// The month of reportDate, from 00:00 of its first day to the last millisecond of its last.
Period expenseMonth(DateTime reportDate);

// The payment types the expense analysis shows (S the spending, L the limit).
enum class ExpenseMode {
    SpendingWithLimit = 0, // "расход с установленным лимитом": S > 0 and L > 0
    Spending = 1,          // "расход без учета лимита": S > 0
    OverLimit = 2,         // "расход с превышением лимита": L > 0 and S > L
    UnderLimit = 3,        // "расход с недобором до лимита": S < L
    All = 4,               // "весь расход"
};

bool expenseShown(const ExpenseLine& line, ExpenseMode mode);

// The limit typed into a limit cell: an amount ("." or the locale's decimal separator, blanks
// around it allowed) that is not negative. Exception with the message for the user otherwise,
// as "«abc» — не сумма.".
Currency expenseLimitFromText(const QString& text);
