#include "reports/report_figures.h"

#include "core/exceptions.h"
#include "shell/period_browser_pane.h"
#include "store/cash_documents.h"
#include "store/data_store.h"

#include <QHash>

#include <algorithm>

namespace {

void add(Currency& to, Currency amount) {
    to.units += amount.units;
}

RowAmounts emptyRow(qsizetype types) {
    RowAmounts row;
    row.byType.fill(Currency{}, types);
    return row;
}

void addToRow(RowAmounts& row, qsizetype type, Currency amount) {
    add(row.byType[type], amount);
    add(row.total, amount);
}

void addRow(RowAmounts& to, const RowAmounts& row) {
    for (qsizetype type = 0; type < row.byType.size(); ++type)
        addToRow(to, type, row.byType.at(type));
}

// The names of the ranks, index rank - 1.
void nameRank(QStringList& names, int rank, const QString& name) {
    if (names.size() < rank)
        names.resize(rank);
    names[rank - 1] = name;
}

// The days of the amounts in date order, each with its index.
QHash<qint64, qsizetype> dayIndexes(const std::vector<DayAmount>& amounts, QList<DateTime>& days) {
    for (const DayAmount& amount : amounts)
        days.append(amount.day);
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    QHash<qint64, qsizetype> indexes;
    for (qsizetype i = 0; i < days.size(); ++i)
        indexes.insert(qint64(days.at(i)), i);
    return indexes;
}

PartnerFigures computePartners(DataStore& store, const Period& period, int documentType) {
    const Period days = normalisedPeriod(period);
    const PartnerAmounts amounts =
        ReportData(store).partnerAmounts(documentType, days.start, days.end);
    PartnerFigures figures;
    figures.types = amounts.paymentTypes;
    figures.totals = emptyRow(figures.types.size());
    for (const PartnerAmount& amount : amounts.amounts) {
        if (figures.rows.size() < amount.nameRank)
            figures.rows.append({amount.partnerName, emptyRow(figures.types.size())});
        addToRow(figures.rows.last().amounts, amount.typeRank - 1, amount.amount);
        addToRow(figures.totals, amount.typeRank - 1, amount.amount);
    }
    return figures;
}

RegisterSection registerSection(const ReportData& data, int documentType, const Period& days) {
    RegisterSection section;
    for (RegisterDocument& document : data.registerDocuments(documentType, days.start, days.end)) {
        add(section.total, document.amount);
        section.documents.append(std::move(document));
    }
    return section;
}

} // namespace

bool RowAmounts::anyNonZero() const {
    return std::any_of(byType.cbegin(), byType.cend(),
                       [](Currency amount) { return amount.units != 0; });
}

MovementFigures computeMovement(DataStore& store, const Period& period) {
    const Period whole = normalisedPeriod(period);
    const ReportData data(store);
    MovementFigures figures;
    figures.openingBalance = data.openingBalance(whole.start);
    const std::vector<DayAmount> amounts = data.dayAmounts(whole.start, whole.end);
    for (const DayAmount& amount : amounts)
        nameRank(amount.documentType == kIncomeDocument ? figures.incomeTypes : figures.issueTypes,
                 amount.typeRank, amount.paymentType);
    QList<DateTime> days;
    const QHash<qint64, qsizetype> dayIndex = dayIndexes(amounts, days);
    for (DateTime day : days)
        figures.days.append({day, emptyRow(figures.incomeTypes.size()),
                             emptyRow(figures.issueTypes.size()), std::nullopt});
    for (const DayAmount& amount : amounts) {
        MovementDay& day = figures.days[dayIndex.value(qint64(amount.day))];
        addToRow(amount.documentType == kIncomeDocument ? day.income : day.issue,
                 amount.typeRank - 1, amount.amount);
    }
    figures.incomeTotals = emptyRow(figures.incomeTypes.size());
    figures.issueTotals = emptyRow(figures.issueTypes.size());
    Currency balance = figures.openingBalance;
    for (MovementDay& day : figures.days) {
        addRow(figures.incomeTotals, day.income);
        addRow(figures.issueTotals, day.issue);
        if (!day.income.anyNonZero() && !day.issue.anyNonZero())
            continue;
        add(balance, day.income.total);
        add(balance, Currency{-day.issue.total.units});
        day.balance = balance;
    }
    figures.closingBalance = balance;
    return figures;
}

PartnerFigures computePayers(DataStore& store, const Period& period) {
    return computePartners(store, period, kIncomeDocument);
}

PartnerFigures computeRecipients(DataStore& store, const Period& period) {
    return computePartners(store, period, kIssueDocument);
}

RegisterFigures computeRegister(DataStore& store, const Period& period) {
    const Period days = normalisedPeriod(period);
    const ReportData data(store);
    RegisterFigures figures;
    figures.ownerName = data.ownerName();
    figures.incoming = registerSection(data, kIncomeDocument, days);
    figures.outgoing = registerSection(data, kIssueDocument, days);
    return figures;
}

ExpenseFigures computeExpenseAnalysis(DataStore& store, const Period& period) {
    const Period days = normalisedPeriod(period);
    ExpenseFigures figures;
    for (ExpenseLine& line : ReportData(store).expenseLines(days.start, days.end))
        figures.lines.append(std::move(line));
    return figures;
}

Period expenseMonth(DateTime reportDate) {
    const QDate date = datetime::decodeDate(reportDate);
    const QDate first(date.year(), date.month(), 1);
    return {datetime::encode(first), datetime::endOfDay(datetime::encode(first.addMonths(1)) - 1)};
}

bool expenseShown(const ExpenseLine& line, ExpenseMode mode) {
    const qint64 spending = line.spending.units;
    const qint64 limit = line.limit.units;
    switch (mode) {
    case ExpenseMode::SpendingWithLimit:
        return spending > 0 && limit > 0;
    case ExpenseMode::Spending:
        return spending > 0;
    case ExpenseMode::OverLimit:
        return limit > 0 && spending > limit;
    case ExpenseMode::UnderLimit:
        return spending < limit;
    case ExpenseMode::All:
        return true;
    }
    return false;
}

Currency expenseLimitFromText(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        throw Exception(QStringLiteral("Не указан лимит: введите сумму."));
    Currency limit;
    try {
        limit = strToCurrDot(typed);
    } catch (const ConvertError&) {
        throw Exception(QStringLiteral("«%1» — не сумма.").arg(typed));
    }
    if (limit < Currency{})
        throw Exception(QStringLiteral("Лимит не может быть отрицательным."));
    return limit;
}
