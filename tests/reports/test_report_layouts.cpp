#include "reports/movement_report.h"
#include "reports/partner_reports.h"
#include "reports/report_browser.h"
#include "reports/report_sheet.h"
#include "reports/report_window.h"
#include "store/report_data.h"

#include <QTest>

namespace {

DateTime day(int year, int month, int dayOfMonth) {
    return datetime::encodeDate(year, month, dayOfMonth);
}

Currency money(double value) {
    return currencyFromDouble(value);
}

RowAmounts amounts(const QList<double>& values) {
    RowAmounts row;
    for (double value : values) {
        row.byType << money(value);
        row.total.units += money(value).units;
    }
    return row;
}

// A stored report's period: from its first day to 23:59:59 of its last.
Period reportPeriod(DateTime first, DateTime last) {
    return {first, last + 86399.0 / 86400.0};
}

const Period kMarch = reportPeriod(day(2024, 3, 1), day(2024, 3, 31));

// The row of column 0 whose text is text; -1 when none.
int rowOf(const ReportSheet& sheet, const QString& text) {
    for (int y = 0; y < sheet.yCount(); ++y)
        if (sheet.cellText(0, y) == text)
            return y;
    return -1;
}

// The cells of row y that hold a value, as they show, left to right; "" for an empty one.
QStringList shownRow(const ReportSheet& sheet, int y) {
    QStringList texts;
    for (int x = 0; x < sheet.xCount(); ++x) {
        const SheetCell* cell = sheet.cells().cell(x, y);
        texts << (cell ? displayText(*cell) : QString());
    }
    return texts;
}

QList<int> hotColumns(const ReportSheet& sheet, int y) {
    QList<int> columns;
    for (int x = 0; x < sheet.xCount(); ++x)
        if (sheet.cellParam(x, y, QStringLiteral("H")) == QLatin1String("1"))
            columns << x;
    return columns;
}

// Two income types, one issue type; 04.03 has documents of amount 0 only.
MovementFigures marchMovement() {
    MovementFigures figures;
    figures.openingBalance = money(100);
    figures.incomeTypes = {QStringLiteral("Аренда"), QStringLiteral("Услуги")};
    figures.issueTypes = {QStringLiteral("Зарплата")};
    figures.days = {
        {day(2024, 3, 1), amounts({10.5, 0}), amounts({3}), money(107.5)},
        {day(2024, 3, 4), amounts({0, 0}), amounts({0}), std::nullopt},
        {day(2024, 3, 31), amounts({0, 20}), amounts({0}), money(127.5)},
    };
    figures.incomeTotals = amounts({10.5, 20});
    figures.issueTotals = amounts({3});
    figures.closingBalance = money(127.5);
    return figures;
}

PartnerFigures marchPayers() {
    PartnerFigures figures;
    figures.types = {QStringLiteral("Аренда"), QStringLiteral("Услуги")};
    figures.rows = {{QStringLiteral("ООО Альфа"), amounts({10, 5})},
                    {QStringLiteral("ТОВ Ноль"), amounts({0, 0})},
                    {QStringLiteral("Zeta"), amounts({0, 7.25})}};
    figures.totals = amounts({10, 12.25});
    return figures;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<DateTime>)

// The sheets of the stored reports laid out from their figures, and what their cells lead to.
class TestReportLayouts : public QObject {
    Q_OBJECT

private slots:
    void proposedPeriod_data() {
        QTest::addColumn<std::optional<DateTime>>("latestEnd");
        QTest::addColumn<DateTime>("now");
        QTest::addColumn<DateTime>("start");
        QTest::addColumn<DateTime>("end");
        const DateTime now = day(2024, 3, 15) + 0.5;
        QTest::newRow("no stored report: the current month")
            << std::optional<DateTime>() << now << day(2024, 3, 1) << day(2024, 3, 31);
        QTest::newRow("an empty end counts as none")
            << std::optional<DateTime>(0) << now << day(2024, 3, 1) << day(2024, 3, 31);
        QTest::newRow("after January: February of a leap year")
            << std::optional<DateTime>(day(2024, 1, 31) + 86399.0 / 86400) << now << day(2024, 2, 1)
            << day(2024, 2, 29);
        QTest::newRow("after February of a common year")
            << std::optional<DateTime>(day(2023, 2, 28) + 86399.0 / 86400) << now << day(2023, 3, 1)
            << day(2023, 3, 31);
        QTest::newRow("a report ending mid-month: the rest of the month")
            << std::optional<DateTime>(day(2023, 12, 10) + 86399.0 / 86400) << now
            << day(2023, 12, 11) << day(2023, 12, 31);
    }
    void proposedPeriod() {
        QFETCH(std::optional<DateTime>, latestEnd);
        QFETCH(DateTime, now);
        QFETCH(DateTime, start);
        QFETCH(DateTime, end);
        const Period period = proposedReportPeriod(latestEnd, now);
        QCOMPARE(period.start, start);
        QCOMPARE(period.end, end);
    }

    void browserDates_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("null") << QVariant() << QString();
        QTest::newRow("a date-time") << QVariant(QDateTime(QDate(2024, 3, 1), QTime(0, 0)))
                                     << QStringLiteral("март 2024 г.");
        QTest::newRow("a number") << QVariant(day(2023, 12, 31) + 0.9)
                                  << QStringLiteral("декабрь 2023 г.");
    }
    void browserDates() {
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QCOMPARE(ReportBrowser::monthYearText(value), shown);
    }

    // No documents: the date, the two totals and the balance column, no group captions; the
    // totals 0.00 and the opening balance carried to the closing line of the next day.
    void movementOfAnEmptyPeriod() {
        ReportSheet sheet;
        MovementFigures figures;
        figures.openingBalance = money(42.5);
        figures.closingBalance = money(42.5);
        figures.incomeTotals = amounts({});
        figures.issueTotals = amounts({});
        layoutMovementReport(sheet, figures, kMarch, QStringLiteral("Касса"));

        QCOMPARE(sheet.cellText(0, 0), QStringLiteral("Движение денег по Касса за март 2024 г."));
        QCOMPARE(sheet.cellText(0, 1), QStringLiteral("Сальдо на 01.03.2024: 42.50"));
        QCOMPARE(shownRow(sheet, 2), (QStringList{"Дата", "Итого", "Итого", "С-до на"}));
        QCOMPARE(shownRow(sheet, 3), (QStringList{"", "Дт", "Кт", "конец дня"}));
        QCOMPARE(shownRow(sheet, 4), (QStringList{"И Т О Г О :", "0.00", "0.00", "42.50"}));
        QCOMPARE(sheet.cellText(0, 5), QStringLiteral("Сальдо на 01.04.2024: 42.50"));
        QCOMPARE(sheet.rowTag(4, QStringLiteral("ROW_TOTAL")), QStringLiteral("Y"));
        QCOMPARE(sheet.rowTag(5, QStringLiteral("ROW_END_SALDO")), QStringLiteral("Y"));
        QCOMPARE(sheet.yCount(), 6);
        QCOMPARE(sheet.xCount(), 4);
    }

    void movementClosingLineNamesTheNextDay_data() {
        QTest::addColumn<DateTime>("last");
        QTest::addColumn<QString>("line");
        QTest::newRow("31 March") << day(2024, 3, 31)
                                  << QStringLiteral("Сальдо на 01.04.2024: 0.00");
        QTest::newRow("29 February")
            << day(2024, 2, 29) << QStringLiteral("Сальдо на 01.03.2024: 0.00");
        QTest::newRow("31 December")
            << day(2023, 12, 31) << QStringLiteral("Сальдо на 01.01.2024: 0.00");
    }
    void movementClosingLineNamesTheNextDay() {
        QFETCH(DateTime, last);
        QFETCH(QString, line);
        ReportSheet sheet;
        MovementFigures figures;
        figures.incomeTotals = amounts({});
        figures.issueTotals = amounts({});
        layoutMovementReport(sheet, figures, reportPeriod(datetime::dateOf(last) - 5, last), {});
        QCOMPARE(sheet.cellText(0, rowOf(sheet, "И Т О Г О :") + 1), line);
    }

    void movementDaysAndTotals() {
        ReportSheet sheet;
        layoutMovementReport(sheet, marchMovement(), kMarch, QStringLiteral("Касса"));

        QCOMPARE(shownRow(sheet, 2),
                 (QStringList{"Дата", "Приход", "", "Итого", "Расход", "Итого", "С-до на"}));
        QCOMPARE(shownRow(sheet, 3),
                 (QStringList{"", "Аренда", "Услуги", "Дт", "Зарплата", "Кт", "конец дня"}));
        QCOMPARE(shownRow(sheet, 4),
                 (QStringList{"01.03.2024", "10.50", "", "10.50", "3.00", "3.00", "107.50"}));
        QCOMPARE(shownRow(sheet, 5), (QStringList{"04.03.2024", "", "", "", "", "", ""}));
        QCOMPARE(shownRow(sheet, 6),
                 (QStringList{"31.03.2024", "", "20.00", "20.00", "", "", "127.50"}));
        QCOMPARE(shownRow(sheet, 7),
                 (QStringList{"И Т О Г О :", "10.50", "20.00", "30.50", "3.00", "3.00", "127.50"}));
        QCOMPARE(sheet.cellText(0, 8), QStringLiteral("Сальдо на 01.04.2024: 127.50"));

        // Only the amounts of a payment type lead to documents; a day of zero amounts has no id.
        QCOMPARE(hotColumns(sheet, 4), (QList<int>{1, 4}));
        QCOMPARE(hotColumns(sheet, 5), QList<int>());
        QCOMPARE(hotColumns(sheet, 6), QList<int>{2});
        QCOMPARE(hotColumns(sheet, 7), QList<int>());
        const QString id = QStringLiteral("ROW_DATE_ID");
        QCOMPARE(sheet.rowTag(4, id), QStringLiteral("01.03.2024"));
        QCOMPARE(sheet.rowTag(5, id), QString());
        QCOMPARE(sheet.rowTag(6, id), QStringLiteral("31.03.2024"));
        QCOMPARE(sheet.columnTag(2, QStringLiteral("COL_REASON")), QStringLiteral("Услуги"));
        QCOMPARE(sheet.columnTag(3, QStringLiteral("COL_ID")), QStringLiteral("COL_TOTAL_INCOME"));
        QCOMPARE(sheet.columnTag(4, QStringLiteral("COL_ID")), QStringLiteral("COL_ID_ISSUE"));
        QCOMPARE(sheet.columnTag(6, QStringLiteral("COL_DAY_SALDO")), QStringLiteral("Y"));

        // The frames and the shape.
        QCOMPARE(sheet.cellBorders(0, 2), (SheetGrid::Borders{2, 2, 2, 0}));
        QCOMPARE(sheet.cellBorders(0, 3), (SheetGrid::Borders{2, 2, 0, 2}));
        QCOMPARE(sheet.cellBorders(2, 2), (SheetGrid::Borders{0, 0, 2, 0}));
        QCOMPARE(sheet.cellBorders(2, 3), (SheetGrid::Borders{2, 2, 2, 2}));
        QCOMPARE(sheet.cellBorders(6, 5), (SheetGrid::Borders{1, 1, 1, 1}));
        QCOMPARE(sheet.cellBorders(6, 7), SheetGrid::Borders{});
        QCOMPARE(sheet.cellAlignment(1, 4), CellAlignment::Right);
        QVERIFY(sheet.cellWordWrap(1, 3));
        QCOMPARE(sheet.colWidth(0), 70);
        QCOMPARE(sheet.colWidth(1), 80);
        QCOMPARE(sheet.colWidth(6), 75);
        QCOMPARE(sheet.rowHeight(3), 3 * sheet.defaultRowHeight());
        QCOMPARE(sheet.fixedCols(), 0);
        QCOMPARE(sheet.fixedRows(), 0);
        QVERIFY(!(sheet.gridOptions() & SheetGrid::Option::VertLine));
        QVERIFY(!(sheet.gridOptions() & SheetGrid::Option::Editing));
    }

    void movementCells_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("type"); // 0: no drill-down
        QTest::addColumn<QString>("paymentType");
        QTest::addColumn<DateTime>("from");
        QTest::newRow("an income amount") << 1 << 4 << 1 << "Аренда" << day(2024, 3, 1);
        QTest::newRow("an issue amount") << 4 << 4 << 2 << "Зарплата" << day(2024, 3, 1);
        QTest::newRow("the last day") << 2 << 6 << 1 << "Услуги" << day(2024, 3, 31);
        QTest::newRow("an empty type cell") << 2 << 4 << 0 << "" << 0.0;
        QTest::newRow("a day total") << 3 << 4 << 0 << "" << 0.0;
        QTest::newRow("a day balance") << 6 << 4 << 0 << "" << 0.0;
        QTest::newRow("a date") << 0 << 4 << 0 << "" << 0.0;
        QTest::newRow("a day of zero amounts") << 1 << 5 << 0 << "" << 0.0;
        QTest::newRow("a column total") << 1 << 7 << 0 << "" << 0.0;
    }
    void movementCells() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, type);
        QFETCH(QString, paymentType);
        QFETCH(DateTime, from);
        ReportSheet sheet;
        layoutMovementReport(sheet, marchMovement(), kMarch, {});
        const std::optional<CellDocuments> cell = movementCellDocuments(sheet, x, y);
        QCOMPARE(cell.has_value(), type != 0);
        if (!cell)
            return;
        QCOMPARE(cell->documentType, type);
        QCOMPARE(cell->paymentType, paymentType);
        QCOMPARE(cell->from, from);
        QCOMPARE(cell->to, datetime::endOfDay(from));
        QVERIFY(!cell->partnerName);
    }

    // A day id that does not read as a date leads nowhere, whatever the locale wrote.
    void movementCellWithAnUnreadableDay() {
        ReportSheet sheet;
        layoutMovementReport(sheet, marchMovement(), kMarch, {});
        sheet.setRowTags(4, {QStringLiteral("ROW_DATE_ID")}, {QStringLiteral("3/1/24")});
        QVERIFY(!movementCellDocuments(sheet, 1, 4));
    }

    void partnersOfAnEmptyPeriod_data() {
        QTest::addColumn<bool>("payers");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("nameCaption");
        QTest::newRow("payers") << true << "Плательщики по Счет за март 2024 г."
                                << "Плательщик";
        QTest::newRow("recipients") << false << "Получатели платежей по Счет за март 2024 г."
                                    << "Получатель платежей";
    }
    void partnersOfAnEmptyPeriod() {
        QFETCH(bool, payers);
        QFETCH(QString, title);
        QFETCH(QString, nameCaption);
        ReportSheet sheet;
        PartnerFigures figures;
        figures.totals = amounts({});
        layoutPartnerReport(sheet, payers ? PayersReport::kKind : RecipientsReport::kKind, figures,
                            kMarch, QStringLiteral("Счет"));
        QCOMPARE(sheet.cellText(0, 0), title);
        QCOMPARE(shownRow(sheet, 1), (QStringList{nameCaption, "Итого"}));
        QCOMPARE(shownRow(sheet, 2), (QStringList{"", ""}));
        QCOMPARE(shownRow(sheet, 3), (QStringList{"И Т О Г О :", "0.00"}));
        QCOMPARE(sheet.yCount(), 4);
        QCOMPARE(sheet.columnTag(1, QStringLiteral("COL_ID")),
                 payers ? QStringLiteral("COL_TOTAL_INCOME") : QStringLiteral("COL_TOTAL_ISSUE"));
    }

    void partnerRowsAndTotals() {
        ReportSheet sheet;
        layoutPartnerReport(sheet, RecipientsReport::kKind, marchPayers(), kMarch, {});
        QCOMPARE(shownRow(sheet, 1), (QStringList{"Получатель платежей", "Расход", "", "Итого"}));
        QCOMPARE(shownRow(sheet, 2), (QStringList{"", "Аренда", "Услуги", ""}));
        QCOMPARE(shownRow(sheet, 3), (QStringList{"ООО Альфа", "10.00", "5.00", "15.00"}));
        QCOMPARE(shownRow(sheet, 4), (QStringList{"ТОВ Ноль", "", "", ""}));
        QCOMPARE(shownRow(sheet, 5), (QStringList{"Zeta", "", "7.25", "7.25"}));
        QCOMPARE(shownRow(sheet, 6), (QStringList{"И Т О Г О :", "10.00", "12.25", "22.25"}));
        QCOMPARE(hotColumns(sheet, 3), (QList<int>{1, 2}));
        QCOMPARE(hotColumns(sheet, 4), QList<int>());
        QCOMPARE(hotColumns(sheet, 6), QList<int>());
        const QString id = QStringLiteral("ROW_NAME_ID");
        QCOMPARE(sheet.rowTag(3, id), QStringLiteral("ООО Альфа"));
        QCOMPARE(sheet.rowTag(4, id), QString());
        QCOMPARE(sheet.colWidth(0), 250);
        QCOMPARE(sheet.colWidth(3), 80);
        QCOMPARE(sheet.cellBorders(3, 5), (SheetGrid::Borders{1, 1, 1, 1}));
        QCOMPARE(sheet.cellBorders(0, 1), (SheetGrid::Borders{2, 2, 2, 0}));
        QCOMPARE(sheet.rowHeight(2), 3 * sheet.defaultRowHeight());
    }

    void partnerCells_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("paymentType"); // empty: no drill-down
        QTest::addColumn<QString>("name");
        QTest::newRow("a first type") << 1 << 3 << "Аренда"
                                      << "ООО Альфа";
        QTest::newRow("a second type") << 2 << 5 << "Услуги"
                                       << "Zeta";
        QTest::newRow("an empty cell") << 1 << 5 << ""
                                       << "";
        QTest::newRow("a row total") << 3 << 3 << ""
                                     << "";
        QTest::newRow("a name") << 0 << 3 << ""
                                << "";
        QTest::newRow("a partner of zero amounts") << 1 << 4 << ""
                                                   << "";
        QTest::newRow("a column total") << 1 << 6 << ""
                                        << "";
    }
    void partnerCells() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, paymentType);
        QFETCH(QString, name);
        ReportSheet sheet;
        layoutPartnerReport(sheet, RecipientsReport::kKind, marchPayers(), kMarch, {});
        const std::optional<CellDocuments> cell = partnerCellDocuments(sheet, x, y, kMarch);
        QCOMPARE(cell.has_value(), !paymentType.isEmpty());
        if (!cell)
            return;
        QCOMPARE(cell->documentType, 2);
        QCOMPARE(cell->paymentType, paymentType);
        QCOMPARE(cell->partnerName, std::optional<QString>(name));
        // The whole period, its last second included.
        QCOMPARE(cell->from, day(2024, 3, 1));
        QCOMPARE(cell->to, datetime::endOfDay(day(2024, 3, 31)));
    }
};

QTEST_MAIN(TestReportLayouts)
#include "test_report_layouts.moc"
