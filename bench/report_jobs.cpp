#include "bench/report_jobs.h"

#include "bench/bare_fetch.h"
#include "bench/bench_timing.h"
#include "bench/sheet_jobs.h"
#include "core/cp1251.h"
#include "reports/report_figures.h"
#include "reports/report_sheet.h"
#include "reports/sheet_text.h"
#include "shell/period_browser_pane.h"
#include "store/data_store.h"
#include "store/stored_reports.h"

#include <QDate>
#include <QImage>
#include <QList>

#include <cstdio>
#include <functional>

namespace {

// Runs ours and bare runs times after a warm-up (told by warmUp), and reports the medians.
void measure(const char* job, int runs, const std::function<void()>& ours,
             const std::function<void()>& bare, const std::function<void()>& warmUp = {}) {
    QList<double> oursTimes, bareTimes;
    for (int run = 0; run <= runs; ++run) {
        const double o = timed(ours);
        const double b = timed(bare);
        if (run == 0) {
            if (warmUp)
                warmUp();
            continue;
        }
        oursTimes << o;
        bareTimes << b;
    }
    reportJob(job, median(oursTimes), median(bareTimes));
}

QByteArray stamp(DateTime t) {
    return "'" +
           datetime::decode(t).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1() + "'";
}

QByteArray between(const Period& period) {
    return "O.DAT BETWEEN " + stamp(period.start) + " and " + stamp(period.end);
}

Period yearOf(int year) {
    return {datetime::encode(QDate(year, 1, 1)),
            datetime::encodeDate(year, 12, 31) + (86399.0 / 86400)};
}

Period monthOf(int year, int month) {
    const QDate first(year, month, 1);
    return {datetime::encode(first), datetime::encode(first.addMonths(1).addDays(-1))};
}

// What a program of its own reads for the money movement: the opening balance and the sums by
// direction, payment type and day.
void bareMovement(BareConnection& bare, const Period& period) {
    const Period days = normalisedPeriod(period);
    bare.fetch("SELECT O.DAT,O.SUM2 FROM OPER O WHERE O.TYP=101 and O.DAT2<" + stamp(days.start) +
                   " ORDER BY O.DAT DESCENDING",
               1);
    bare.fetch("SELECT O.TYP, O.REASON, DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT), "
               "SUM(O.SUM1) FROM OPER O WHERE O.TYP IN (1, 2) and " +
               between(days) +
               " GROUP BY O.TYP, O.REASON, DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT)");
}

void barePartners(BareConnection& bare, const Period& period, int documentType) {
    bare.fetch("SELECT P.LNAM, O.REASON, SUM(O.SUM1) FROM OPER O, PARTS P WHERE O.LPART=P.PRKEY "
               "and O.TYP=" +
               QByteArray::number(documentType) + " and " + between(normalisedPeriod(period)) +
               " GROUP BY P.LNAM, O.REASON");
}

// The documents of each day by partner name, city and number, as the register lists them.
void bareRegister(BareConnection& bare, const Period& period) {
    bare.fetch("SELECT LNAM FROM PARTS WHERE PRKEY=0");
    for (const char* type : {"1", "2"})
        bare.fetch("SELECT O.PRKEY,O.LPART,O.NUM,P.CITY,O.TYP,O.DAT,P.LNAM,O.SUM1,O.REASON FROM "
                   "OPER O, PARTS P WHERE P.PRKEY=O.LPART and O.TYP=" +
                   QByteArray(type) + " and " + between(normalisedPeriod(period)) +
                   " ORDER BY DATEDIFF(DAY, CAST('30.12.1899' AS DATE), O.DAT), P.LNAM, P.CITY, "
                   "O.NUM");
}

void bareExpenses(BareConnection& bare, const Period& month) {
    bare.fetch("SELECT R.PRKEY, R.REASON, R.LIMIT FROM REASONS R WHERE R.TYP=2 ORDER BY R.REASON");
    bare.fetch("SELECT O.REASON, SUM(O.SUM1) FROM OPER O WHERE O.TYP=2 and " + between(month) +
               " GROUP BY O.REASON");
}

int documentCount(const RegisterFigures& figures) {
    return int(figures.incoming.documents.size() + figures.outgoing.documents.size());
}

// The year's movement as the money movement report lays it out, as near as the benchmark can
// without its window: the title and opening lines, the captions, a row per day with its
// non-zero amounts (hot), totals and balance, the total row and the closing line, with the
// report's tags, borders, masks and widths. It gives a stored text of the report's size and
// make.
QString movementSheetText(const MovementFigures& f, const Period& period) {
    const QString mask = QStringLiteral("#0.00");
    ReportSheet sheet;
    sheet.beginUpdate();
    const QDate start = datetime::decodeDate(period.start);
    sheet.setCellString(0, 0, QStringLiteral("Движение денег по Тестовая книга за год"));
    sheet.setCellString(
        0, 1,
        QStringLiteral("Сальдо на %1: %2")
            .arg(start.toString(QStringLiteral("dd.MM.yyyy")), currencyText(f.openingBalance)));
    const char* rowTags[] = {"ROW_TITLE", "ROW_START_SALDO", "ROW_CAPTION", "ROW_HEADER"};
    for (int y = 0; y < 4; ++y)
        sheet.setRowTags(y, {QString::fromLatin1(rowTags[y])}, {QStringLiteral("Y")});
    sheet.setCellString(0, 2, QStringLiteral("Дата"));
    sheet.setCellBorders(0, 2, 2, 2, 2, 0);
    sheet.setCellBorders(0, 3, 2, 2, 0, 2);
    sheet.setColumnTags(0, {QStringLiteral("COL_DATE")}, {QStringLiteral("Y")});
    int x = 1;
    auto group = [&](const QStringList& types, const QString& caption, const QString& sub,
                     const QString& id, const QString& totalId) {
        const int first = x;
        for (const QString& type : types) {
            if (x == first)
                sheet.setCellString(x, 2, caption);
            sheet.setCellBorders(x, 2, 0, 0, 2, 0);
            sheet.setCellString(x, 3, type);
            sheet.setCellWordWrap(x, 3, true);
            sheet.setCellBorders(x, 3, 2, 2, 2, 2);
            sheet.setColumnTags(x, {QStringLiteral("COL_REASON"), QStringLiteral("COL_ID")},
                                {type, id});
            ++x;
        }
        sheet.setCellString(x, 2, QStringLiteral("Итого"));
        sheet.setCellString(x, 3, sub);
        sheet.setCellBorders(x, 2, 2, 2, 2, 0);
        sheet.setCellBorders(x, 3, 2, 2, 0, 2);
        sheet.setColumnTags(x, {QStringLiteral("COL_ID")}, {totalId});
        return x++;
    };
    const int incomeFrom = x;
    const int incomeTotal =
        group(f.incomeTypes, QStringLiteral("Приход"), QStringLiteral("Дт"),
              QStringLiteral("COL_ID_INCOME"), QStringLiteral("COL_TOTAL_INCOME"));
    const int issueFrom = x;
    const int issueTotal = group(f.issueTypes, QStringLiteral("Расход"), QStringLiteral("Кт"),
                                 QStringLiteral("COL_ID_ISSUE"), QStringLiteral("COL_TOTAL_ISSUE"));
    const int balance = x;
    sheet.setCellString(balance, 2, QStringLiteral("С-до на"));
    sheet.setCellString(balance, 3, QStringLiteral("конец дня"));
    sheet.setColumnTags(balance, {QStringLiteral("COL_DAY_SALDO")}, {QStringLiteral("Y")});
    auto amounts = [&](int y, int from, int total, const RowAmounts& row, bool hot) {
        for (int t = 0; t < row.byType.size(); ++t) {
            if (row.byType.at(t).units == 0 && hot)
                continue;
            sheet.setCellAmount(from + t, y, row.byType.at(t), mask, CellAlignment::Right);
            if (hot)
                sheet.setCellParam(from + t, y, QStringLiteral("H"), QStringLiteral("1"));
        }
        if (row.total.units != 0 || !hot)
            sheet.setCellAmount(total, y, row.total, mask, CellAlignment::Right);
    };
    int y = 4;
    for (const MovementDay& day : f.days) {
        const QString date = datetime::decodeDate(day.day).toString(QStringLiteral("dd.MM.yyyy"));
        sheet.setCellString(0, y, date);
        if (day.balance) {
            sheet.setRowTags(y, {QStringLiteral("ROW_DATE_ID")}, {date});
            sheet.setCellAmount(balance, y, *day.balance, mask, CellAlignment::Right);
        }
        amounts(y, incomeFrom, incomeTotal, day.income, true);
        amounts(y, issueFrom, issueTotal, day.issue, true);
        for (int column = 0; column <= balance; ++column)
            sheet.setCellBorders(column, y, 1, 1, 1, 1);
        ++y;
    }
    sheet.setRowTags(y, {QStringLiteral("ROW_TOTAL")}, {QStringLiteral("Y")});
    sheet.setCellString(0, y, QStringLiteral("И Т О Г О :"));
    amounts(y, incomeFrom, incomeTotal, f.incomeTotals, false);
    amounts(y, issueFrom, issueTotal, f.issueTotals, false);
    sheet.setCellAmount(balance, y, f.closingBalance, mask, CellAlignment::Right);
    ++y;
    sheet.setRowTags(y, {QStringLiteral("ROW_END_SALDO")}, {QStringLiteral("Y")});
    sheet.setCellString(
        0, y,
        QStringLiteral("Сальдо на %1: %2")
            .arg(datetime::decodeDate(period.end).addDays(1).toString(QStringLiteral("dd.MM.yyyy")),
                 currencyText(f.closingBalance)));
    sheet.resetCounters();
    sheet.setGridSize(0, 0, sheet.xCount(), sheet.yCount());
    sheet.setDefaultColWidth(80);
    sheet.setColWidth(0, 70);
    sheet.setColWidth(balance, 75);
    sheet.setRowHeight(3, 3 * sheet.defaultRowHeight());
    sheet.endUpdate();
    return saveSheetText(sheet, 0, 0, sheet.xCount() - 1, sheet.yCount() - 1);
}

// The year's movement report stored, then reopened as its window does: its row read and its
// text loaded into a report sheet of 800 x 600 whose visible part is painted; beside a bare read
// of the row (the text's blob whole) and a bare reading of the text. The report is deleted
// after.
void runOpenStoredReport(DataStore& store, BareConnection& bare, const Period& year, int runs) {
    StoredReports reports(store);
    StoredReport report;
    report.key = reports.newKey();
    report.type = kMovementReportType;
    report.start = year.start;
    report.end = year.end;
    const MovementFigures figures = computeMovement(store, year);
    report.closingFigure = figures.closingBalance;
    report.sheetText = movementSheetText(figures, year);
    reports.save(report, std::nullopt);
    const QByteArray rowSql = "SELECT PRKEY,TYP,SUM1,SUM2,DAT,DAT2,ETC FROM OPER O WHERE O.PRKEY=" +
                              QByteArray::number(report.key) + " and O.TYP=101";
    const QByteArray bytes = cp1251::encode(report.sheetText);
    int cells = 0;
    int bareCells = 0;
    measure(
        "open_stored_report", runs,
        [&] {
            const std::optional<StoredReport> read = reports.read(report.key, kMovementReportType);
            ReportSheet sheet;
            sheet.resize(800, 600);
            sheet.show();
            QImage screen(sheet.viewport()->size(), QImage::Format_RGB32);
            loadSheetText(sheet, 0, 0, read->sheetText);
            sheet.viewport()->render(&screen);
            cells = sheet.xCount() * sheet.yCount();
        },
        [&] {
            bare.fetch(rowSql);
            bareCells = bareSheetCells(cp1251::decode(bytes));
        },
        [&] {
            std::fprintf(stderr, "stored movement report: %lld characters, %d cells, %d read\n",
                         qlonglong(report.sheetText.size()), cells, bareCells);
        });
    reports.remove(report);
}

} // namespace

void runReportJobs(DataStore& store, const QString& book, int year, int runs) {
    BareConnection bare(book);
    const Period whole = yearOf(year);
    MovementFigures movement;
    measure(
        "movement_report_year", runs, [&] { movement = computeMovement(store, whole); },
        [&] { bareMovement(bare, whole); },
        [&] {
            std::fprintf(stderr, "movement: %lld days, %lld + %lld payment types\n",
                         qlonglong(movement.days.size()), qlonglong(movement.incomeTypes.size()),
                         qlonglong(movement.issueTypes.size()));
        });
    PartnerFigures partners;
    measure(
        "payers_report_year", runs, [&] { partners = computePayers(store, whole); },
        [&] { barePartners(bare, whole, 1); },
        [&] {
            std::fprintf(stderr, "payers: %lld names, %lld payment types\n",
                         qlonglong(partners.rows.size()), qlonglong(partners.types.size()));
        });
    measure(
        "recipients_report_year", runs, [&] { partners = computeRecipients(store, whole); },
        [&] { barePartners(bare, whole, 2); });

    const Period march = monthOf(year, 3);
    RegisterFigures documents;
    measure(
        "register_month", runs, [&] { documents = computeRegister(store, march); },
        [&] { bareRegister(bare, march); },
        [&] {
            std::fprintf(stderr, "register: %d documents in March\n", documentCount(documents));
        });
    measure(
        "register_year", runs, [&] { documents = computeRegister(store, whole); },
        [&] { bareRegister(bare, whole); },
        [&] {
            std::fprintf(stderr, "register: %d documents in the year\n", documentCount(documents));
        });

    const Period analysed = expenseMonth(march.start);
    measure(
        "expense_analysis_month", runs, [&] { computeExpenseAnalysis(store, analysed); },
        [&] { bareExpenses(bare, analysed); });
    measure(
        "expense_analysis_all", runs,
        [&] {
            for (int month = 1; month <= 12; ++month)
                computeExpenseAnalysis(store, expenseMonth(monthOf(year, month).start));
        },
        [&] {
            for (int month = 1; month <= 12; ++month)
                bareExpenses(bare, expenseMonth(monthOf(year, month).start));
        });

    runOpenStoredReport(store, bare, whole, runs);
}
