#pragma once

#include "core/date_time.h"
#include "core/numbers.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class DataStore;

namespace fb {
class DataSet;
}

// What the reports read of the documents of the open book (OPER, PARTS, REASONS). Every period
// here is taken as given, both ends included (the reports pass whole days). Payment types and
// partner names are grouped and ordered as the book compares them: names that differ only by
// trailing blanks are one, given without those blanks. Each read runs in a read-only
// transaction of its own.

// The sum of the documents of one document type, payment type and day.
struct DayAmount {
    int documentType = 0; // OPER.TYP: kIncomeDocument or kIssueDocument
    // The payment type's place among those of its document type in the period, from 1, in the
    // book's order of names.
    int typeRank = 0;
    QString paymentType;
    DateTime day = 0; // 00:00 of the documents' day
    Currency amount;
};

// The sum of the documents of one partner name and payment type.
struct PartnerAmount {
    int nameRank = 0; // the partner name's place among those of the period, from 1
    QString partnerName;
    int typeRank = 0; // the payment type's place in PartnerAmounts::paymentTypes, from 1
    QString paymentType;
    Currency amount;
};

struct PartnerAmounts {
    // The payment types of every document of the period, those without a partner row too, in
    // the book's order of names.
    QStringList paymentTypes;
    std::vector<PartnerAmount> amounts; // by name rank and type rank
};

// One document of the register.
struct RegisterDocument {
    int key = 0;  // PRKEY
    int type = 0; // TYP
    DateTime date = 0;
    QString number;
    Currency amount;     // SUM1; 0 when it has none
    QString partner;     // LNAM of its partner
    QString paymentType; // REASON
};

// One issue payment type of the expense analysis.
struct ExpenseLine {
    int key = 0; // REASONS.PRKEY
    QString paymentType;
    Currency limit;    // REASONS.LIMIT; 0 when it has none
    Currency spending; // the sum of its issue documents in the period; 0 without any
};

// The documents behind a hot cell of a report: of one document type and payment type, dated
// within from..to, and of one partner name when one is given.
struct CellDocuments {
    int documentType = 0;
    QString paymentType;
    DateTime from = 0;
    DateTime to = 0;
    std::optional<QString> partnerName;
};

class ReportData {
public:
    explicit ReportData(DataStore& store) : m_store(store) {}

    // The closing balance (SUM2) of the stored money movement report with the latest start
    // among those that ended before start; 0 when there is none.
    Currency openingBalance(DateTime start) const;
    // The sums of the income and issue documents of the period by payment type and day, by
    // document type, type rank and day.
    std::vector<DayAmount> dayAmounts(DateTime from, DateTime to) const;
    // The sums of the documents of documentType of the period by partner name and payment type.
    // Documents without a partner row are not counted, but their payment types are listed.
    PartnerAmounts partnerAmounts(int documentType, DateTime from, DateTime to) const;

    // The name of the book's owner (LNAM of the owner row of PARTS).
    QString ownerName() const;
    // The documents of documentType of the period with a partner row, by day, partner name,
    // partner city and number (the time of day does not order them).
    std::vector<RegisterDocument> registerDocuments(int documentType, DateTime from,
                                                    DateTime to) const;

    // Every issue payment type by name, with its limit and its spending in the period.
    std::vector<ExpenseLine> expenseLines(DateTime from, DateTime to) const;
    // Stores limit as the limit of the payment type of key and commits, over asRead, the limit as
    // the analysis read it. When another window or another copy of the program changed that
    // limit or deleted the type since, or is writing it now, nothing is written:
    // RowChangedElsewhere (store/stored_row.h) with the message for the user. The book's own
    // refusals pass on as fb::Error. On any failure nothing is stored.
    void setExpenseLimit(int key, Currency limit, Currency asRead);

    // Puts on list the select of the documents of cell, with PRKEY, TYP, DAT, NUM, SUM1 and
    // LNAM; DAT shows as "dd.mm.yyyy", SUM1 as "#0.00". The caller opens it.
    static void selectCellDocuments(fb::DataSet& list, const CellDocuments& cell);

private:
    DataStore& m_store;
};
