#include "core/cp1251.h"
#include "reports/partner_reports.h"
#include "reports/report_figures.h"
#include "reports/report_sheet.h"
#include "reports/sheet_cells.h"
#include "store/stored_reports.h"
#include "tests/support/store/report_book.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace reportbook;

namespace {

constexpr int kIncome = 1;
constexpr int kIssue = 2;

// A name as the book compares it: its trailing blanks do not count.
QString bookName(QString name) {
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

bool within(DateTime date, DateTime from, DateTime to) {
    return date >= from && date <= to;
}

Currency sumOf(const QList<WrittenDocument>& documents,
               const std::function<bool(const WrittenDocument&)>& counted) {
    Currency sum;
    for (const WrittenDocument& document : documents)
        if (counted(document))
            sum.units += document.amount.units;
    return sum;
}

QString text(Currency amount) {
    return currencyText(amount);
}

// The names that a select gives, as the book orders them.
QStringList names(fb::Attachment& database, const QString& sql) {
    return schematest::rows(database, sql);
}

const QString kFebruary = QStringLiteral("'2024-02-01 00:00:00' and '2024-02-29 23:59:59.999'");

} // namespace

// The reports' figures on a book the test fills, against what it wrote.
class TestReportFigures : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportBook> m_book;
    QList<ExpenseLine> m_issueTypes; // as written, spending 0
    DateTime m_febStart = at("2024-02-01");
    DateTime m_febEnd = at("2024-02-29 23:59:59.999");

    const QList<WrittenDocument>& written() const { return m_book->documents(); }

    void writeFebruary() {
        ReportBook& b = *m_book;
        const int alphaKiev = b.addPartner(kIncome, "ООО Альфа", "Киев");
        const int alphaVinnytsia = b.addPartner(kIncome, "ООО Альфа", "Винница");
        const int alphaBlank = b.addPartner(kIncome, "ООО Альфа ", "Киев");
        const int beta = b.addPartner(kIncome, "ИП Бета");
        const int zeta = b.addPartner(kIncome, "Zeta Ltd");
        const int pharmacy = b.addPartner(kIncome, "аптека");
        const int delta = b.addPartner(kIssue, "ПАО Дельта");
        const int epsilon = b.addPartner(kIssue, "ЗАО Эпсилон");
        const int nought = b.addPartner(kIssue, "ТОВ Ноль");

        b.addDocument(kIncome, at("2024-01-31 23:59:59.900"), alphaKiev, "Аренда", cents(100000));
        b.addDocument(kIncome, at("2024-02-01 00:00:00"), alphaKiev, "Аренда", cents(10010));
        b.addDocument(kIncome, at("2024-02-01 10:00:00"), alphaVinnytsia, "Аренда ", cents(5005));
        b.addDocument(kIssue, at("2024-02-01 12:00:00"), delta, "Зарплата", cents(3000));
        b.addDocument(kIncome, at("2024-02-05 09:00:00"), alphaBlank, "Услуги", cents(2000));
        b.addDocument(kIncome, at("2024-02-05 09:30:00"), zeta, "ёмкости", cents(777));
        b.addDocument(kIncome, at("2024-02-05 11:00:00"), 0, "Услуги", cents(300));
        // A day of amounts 0 only, of a payer and a recipient that have no other.
        b.addDocument(kIncome, at("2024-02-07 10:00:00"), beta, "Аренда", cents(0));
        b.addDocument(kIssue, at("2024-02-07 11:00:00"), nought, "Связь", cents(0));
        b.addDocument(kIssue, at("2024-02-12 10:00:00"), epsilon, "Налоги ", cents(4040));
        b.addDocument(kIssue, at("2024-02-12 10:30:00"), delta, "Налоги", cents(960));
        b.addDocument(kIncome, at("2024-02-12 14:00:00"), pharmacy, "Аренда", cents(1));
        b.addDocument(kIssue, at("2024-02-15 10:00:00"), epsilon, "Зарплата", cents(1234));
        b.addDocument(kIncome, at("2024-02-15 10:00:00"), alphaKiev, "Услуги", cents(1234));
        // Documents of one moment, in the register by partner name, city and number.
        b.addDocument(kIncome, at("2024-02-20 10:00:00"), alphaKiev, "Аренда", cents(500), "9");
        b.addDocument(kIncome, at("2024-02-20 10:00:00"), zeta, "Услуги", cents(100), "3");
        b.addDocument(kIncome, at("2024-02-20 10:00:00"), alphaKiev, "Аренда", cents(600), "10");
        b.addDocument(kIncome, at("2024-02-20 10:00:00"), alphaVinnytsia, "Услуги", cents(700),
                      "1");
        b.addDocument(kIssue, at("2024-02-29 18:00:00"), delta, "Зарплата", cents(10000));
        b.addDocument(kIncome, at("2024-02-29 23:59:59.500"), alphaKiev, "Аренда", cents(500));
        b.addDocument(kIncome, at("2024-03-01 00:00:00"), alphaKiev, "Аренда", cents(200000));
        b.addDocument(kIssue, at("2024-03-01 00:00:00"), delta, "Зарплата", cents(7000));

        // The opening balance is the second's; the third is of another kind, the fourth an
        // earlier save of February's own.
        b.addStoredReport(kMovementReportType, at("2023-12-01"), at("2023-12-31 23:59:59"),
                          cents(50000));
        b.addStoredReport(kMovementReportType, at("2024-01-01"), at("2024-01-31 23:59:59"),
                          cents(123456));
        b.addStoredReport(kPayersReportType, at("2024-01-15"), at("2024-01-31 23:59:59"),
                          cents(77700));
        b.addStoredReport(kMovementReportType, at("2024-02-01"), at("2024-02-29 23:59:59"),
                          cents(9999900));
    }

    void writeMay() {
        ReportBook& b = *m_book;
        for (const QString& line :
             schematest::rows(b.database(), "SELECT PRKEY, REASON FROM REASONS WHERE TYP=2"))
            m_issueTypes.append({line.section('|', 0, 0).toInt(), line.section('|', 1), {}, {}});
        auto issueType = [&](const QString& name, std::optional<Currency> limit) {
            const int key = b.addPaymentType(kIssue, name, limit);
            m_issueTypes.append({key, name, limit.value_or(Currency{}), {}});
        };
        issueType("Аренда офиса", cents(10000)); // over the limit
        issueType("Канцтовары", cents(5000));    // a limit, no spending
        issueType("Связь", std::nullopt);        // spending, no limit
        issueType("Транспорт", cents(4000));     // spending equal to the limit
        issueType("Хозтовары", std::nullopt);    // neither
        b.addPaymentType(kIncome, "Выручка", cents(100));
        const int delta = b.addPartner(kIssue, "ООО Май");
        const int alpha = b.addPartner(kIncome, "ООО Покупатель");
        b.addDocument(kIssue, at("2024-04-30 23:59:59.900"), delta, "Аренда офиса", cents(100000));
        b.addDocument(kIssue, at("2024-05-01 00:00:00"), delta, "Аренда офиса", cents(10000));
        b.addDocument(kIssue, at("2024-05-31 23:59:59.500"), delta, "Аренда офиса", cents(5000));
        b.addDocument(kIssue, at("2024-05-10 12:00:00"), delta, "Связь", cents(1000));
        b.addDocument(kIssue, at("2024-05-11 12:00:00"), delta, "Связь ", cents(2000));
        b.addDocument(kIssue, at("2024-05-20 12:00:00"), delta, "Транспорт", cents(4000));
        b.addDocument(kIncome, at("2024-05-20 12:00:00"), alpha, "Связь", cents(99900));
        b.addDocument(kIssue, at("2024-06-01 00:00:00"), delta, "Транспорт", cents(100000));
    }

    // July: of each direction a payment type that only a document without a partner row brings.
    void writeJuly() {
        ReportBook& b = *m_book;
        const int payer = b.addPartner(kIncome, "ООО Июль");
        const int recipient = b.addPartner(kIssue, "ООО Июльский");
        b.addDocument(kIncome, at("2024-07-03 10:00:00"), payer, "Аренда", cents(1500));
        b.addDocument(kIncome, at("2024-07-04 10:00:00"), 0, "Проценты банка", cents(250));
        b.addDocument(kIssue, at("2024-07-05 10:00:00"), recipient, "Связь", cents(900));
        b.addDocument(kIssue, at("2024-07-06 10:00:00"), 0, "Комиссия банка", cents(40));
    }

    // The partner rows expected of documentType in February: names, types and amounts from the
    // documents written (those of a partner that exists).
    void checkPartners(const PartnerFigures& figures, int documentType) {
        const QString ofPeriod =
            QStringLiteral("O.TYP=%1 and O.DAT BETWEEN %2 ").arg(documentType).arg(kFebruary);
        const QString conditions = "FROM OPER O, PARTS P WHERE O.LPART=P.PRKEY and " + ofPeriod;
        QCOMPARE(figures.types,
                 names(m_book->database(), "SELECT O.REASON FROM OPER O WHERE " + ofPeriod +
                                               "GROUP BY O.REASON ORDER BY O.REASON"));
        QStringList rowNames;
        for (const PartnerRow& row : figures.rows)
            rowNames << row.name;
        QCOMPARE(rowNames, names(m_book->database(), "SELECT P.LNAM " + conditions +
                                                         "GROUP BY P.LNAM ORDER BY P.LNAM"));
        Currency grandTotal;
        for (const PartnerRow& row : figures.rows) {
            QCOMPARE(row.amounts.byType.size(), figures.types.size());
            Currency rowTotal;
            for (int t = 0; t < figures.types.size(); ++t) {
                const Currency expected = sumOf(written(), [&](const WrittenDocument& d) {
                    return d.type == documentType && d.partner != 0 &&
                           within(d.date, m_febStart, m_febEnd) &&
                           bookName(m_book->partner(d.partner).name) == row.name &&
                           bookName(d.paymentType) == figures.types.at(t);
                });
                QVERIFY2(row.amounts.byType.at(t) == expected,
                         qPrintable(row.name + " / " + figures.types.at(t) + ": " +
                                    text(row.amounts.byType.at(t)) + " != " + text(expected)));
                rowTotal.units += expected.units;
            }
            QCOMPARE(row.amounts.total, rowTotal);
            QCOMPARE(row.amounts.anyNonZero(), rowTotal.units != 0);
            grandTotal.units += rowTotal.units;
        }
        for (int t = 0; t < figures.types.size(); ++t) {
            Currency column;
            for (const PartnerRow& row : figures.rows)
                column.units += row.amounts.byType.at(t).units;
            QCOMPARE(figures.totals.byType.at(t), column);
        }
        QCOMPARE(figures.totals.total, grandTotal);
        QCOMPARE(grandTotal, sumOf(written(), [&](const WrittenDocument& d) {
                     return d.type == documentType && d.partner != 0 &&
                            within(d.date, m_febStart, m_febEnd);
                 }));
    }

private slots:
    void initTestCase() {
        m_book = std::make_unique<ReportBook>();
        m_book->setOwnerName("ООО «Владелец»");
        writeFebruary();
        writeMay();
        writeJuly();
    }
    void cleanupTestCase() { m_book.reset(); }

    // Each day with documents, each payment type of each direction, their totals and the
    // balances, from the latest stored report that ended before the period.
    void movementSumsEachDayAndPaymentType() {
        const MovementFigures figures =
            computeMovement(m_book->store(), {at("2024-02-01"), at("2024-02-29 23:59:59")});
        QCOMPARE(figures.openingBalance, cents(123456));
        // The book's order: "ё" comes before the capitals in Windows-1251; the twins with a
        // trailing blank are one type.
        QCOMPARE(figures.incomeTypes, (QStringList{"ёмкости", "Аренда", "Услуги"}));
        QCOMPARE(figures.issueTypes, (QStringList{"Зарплата", "Налоги", "Связь"}));
        for (int type : {kIncome, kIssue})
            QCOMPARE(type == kIncome ? figures.incomeTypes : figures.issueTypes,
                     names(m_book->database(),
                           QStringLiteral("SELECT O.REASON FROM OPER O WHERE O.TYP=%1 and O.DAT "
                                          "BETWEEN %2 GROUP BY O.REASON ORDER BY O.REASON")
                               .arg(type)
                               .arg(kFebruary)));

        QList<DateTime> days;
        for (const WrittenDocument& d : written())
            if (d.type <= kIssue && within(d.date, m_febStart, m_febEnd) &&
                !days.contains(datetime::dateOf(d.date)))
                days.append(datetime::dateOf(d.date));
        std::sort(days.begin(), days.end());
        QCOMPARE(figures.days.size(), days.size());

        Currency balance = figures.openingBalance;
        RowAmounts totals[2];
        for (int i = 0; i < days.size(); ++i) {
            const MovementDay& day = figures.days.at(i);
            QCOMPARE(day.day, days.at(i));
            bool anyAmount = false;
            for (int type : {kIncome, kIssue}) {
                const QStringList& types =
                    type == kIncome ? figures.incomeTypes : figures.issueTypes;
                const RowAmounts& amounts = type == kIncome ? day.income : day.issue;
                QCOMPARE(amounts.byType.size(), types.size());
                Currency dayTotal;
                for (int t = 0; t < types.size(); ++t) {
                    const Currency expected = sumOf(written(), [&](const WrittenDocument& d) {
                        return d.type == type && datetime::dateOf(d.date) == days.at(i) &&
                               d.date <= m_febEnd && bookName(d.paymentType) == types.at(t);
                    });
                    QCOMPARE(amounts.byType.at(t), expected);
                    dayTotal.units += expected.units;
                    anyAmount = anyAmount || expected.units != 0;
                }
                QCOMPARE(amounts.total, dayTotal);
                balance.units += type == kIncome ? dayTotal.units : -dayTotal.units;
            }
            // The day of zero amounts only keeps its row, without a balance.
            QCOMPARE(day.balance.has_value(), anyAmount);
            QCOMPARE(day.day == at("2024-02-07"), !anyAmount);
            if (anyAmount)
                QCOMPARE(*day.balance, balance);
        }
        QCOMPARE(figures.closingBalance, balance);

        // The column totals are the period's documents of each type, the last second's among
        // them; those of the day before and after are not.
        for (int type : {kIncome, kIssue}) {
            const QStringList& types = type == kIncome ? figures.incomeTypes : figures.issueTypes;
            const RowAmounts& totals = type == kIncome ? figures.incomeTotals : figures.issueTotals;
            for (int t = 0; t < types.size(); ++t)
                QCOMPARE(totals.byType.at(t), sumOf(written(), [&](const WrittenDocument& d) {
                             return d.type == type && within(d.date, m_febStart, m_febEnd) &&
                                    bookName(d.paymentType) == types.at(t);
                         }));
            QCOMPARE(totals.total, sumOf(written(), [&](const WrittenDocument& d) {
                         return d.type == type && within(d.date, m_febStart, m_febEnd);
                     }));
        }
        QCOMPARE(figures.incomeTotals.byType.at(1), cents(10010 + 5005 + 1 + 500 + 600 + 500));
        QCOMPARE(figures.closingBalance.units, figures.openingBalance.units +
                                                   figures.incomeTotals.total.units -
                                                   figures.issueTotals.total.units);
    }

    // A period without documents: no types, no days, the closing balance the opening one.
    void movementOfAnEmptyPeriod() {
        const MovementFigures figures =
            computeMovement(m_book->store(), {at("2024-08-01"), at("2024-08-31 23:59:59")});
        // The stored report with the latest start among those ended before August.
        QCOMPARE(figures.openingBalance, cents(9999900));
        QVERIFY(figures.incomeTypes.isEmpty());
        QVERIFY(figures.issueTypes.isEmpty());
        QVERIFY(figures.days.isEmpty());
        QCOMPARE(figures.incomeTotals.total, Currency{});
        QCOMPARE(figures.issueTotals.total, Currency{});
        QCOMPARE(figures.closingBalance, figures.openingBalance);

        const MovementFigures first =
            computeMovement(m_book->store(), {at("2023-11-01"), at("2023-11-30 23:59:59")});
        QCOMPARE(first.openingBalance, Currency{});
        QCOMPARE(first.closingBalance, Currency{});
    }

    // The payers (incoming documents) and the recipients (outgoing ones) by partner name: two
    // partners of one name, and names that differ by a trailing blank, are one row; a partner
    // of amounts 0 keeps its row; documents of no partner are left out.
    void partnersSumEachNameAndPaymentType_data() {
        QTest::addColumn<int>("documentType");
        QTest::newRow("payers") << kIncome;
        QTest::newRow("recipients") << kIssue;
    }
    void partnersSumEachNameAndPaymentType() {
        QFETCH(int, documentType);
        // The period as the period dialog gives it: the last day counts whole.
        const Period february{at("2024-02-01"), at("2024-02-29")};
        const PartnerFigures figures = documentType == kIncome
                                           ? computePayers(m_book->store(), february)
                                           : computeRecipients(m_book->store(), february);
        checkPartners(figures, documentType);
        QStringList rowNames;
        for (const PartnerRow& row : figures.rows)
            rowNames << row.name;
        if (documentType == kIncome) {
            QCOMPARE(rowNames, (QStringList{"Zeta Ltd", "ИП Бета", "ООО Альфа", "аптека"}));
            QVERIFY(!figures.rows.at(1).amounts.anyNonZero());
        } else {
            QCOMPARE(rowNames, (QStringList{"ЗАО Эпсилон", "ПАО Дельта", "ТОВ Ноль"}));
            QVERIFY(!figures.rows.at(2).amounts.anyNonZero());
        }
    }

    // A payment type that only documents without a partner row bring has its column all the
    // same, of 0 in the rows and in the total row, which the sheet writes too.
    void partnersTakeTheTypesOfEveryDocument_data() {
        QTest::addColumn<int>("documentType");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<int>("onlyWithoutPartner");
        QTest::addColumn<qint64>("totalCents");
        QTest::newRow("payers") << kIncome << QStringList{"Аренда", "Проценты банка"} << 1
                                << qint64(1500);
        QTest::newRow("recipients")
            << kIssue << QStringList{"Комиссия банка", "Связь"} << 0 << qint64(900);
    }
    void partnersTakeTheTypesOfEveryDocument() {
        QFETCH(int, documentType);
        QFETCH(QStringList, types);
        QFETCH(int, onlyWithoutPartner);
        QFETCH(qint64, totalCents);
        const Currency total = cents(totalCents);
        const Period july{at("2024-07-01"), at("2024-07-31")};
        const bool payers = documentType == kIncome;
        const PartnerFigures figures = payers ? computePayers(m_book->store(), july)
                                              : computeRecipients(m_book->store(), july);
        QCOMPARE(figures.types, types);
        QCOMPARE(figures.rows.size(), 1);
        QCOMPARE(figures.rows.first().amounts.byType.at(onlyWithoutPartner), Currency{});
        QCOMPARE(figures.rows.first().amounts.total, total);
        QCOMPARE(figures.totals.byType.at(onlyWithoutPartner), Currency{});
        QCOMPARE(figures.totals.total, total);

        ReportSheet sheet;
        layoutPartnerReport(sheet, payers ? PayersReport::kKind : RecipientsReport::kKind, figures,
                            july, {});
        const int column = 1 + onlyWithoutPartner;
        const int totalRow = sheet.yCount() - 1;
        QCOMPARE(sheet.cellText(column, 2), types.at(onlyWithoutPartner));
        QCOMPARE(sheet.rowTag(totalRow, QStringLiteral("ROW_TOTAL")), QStringLiteral("Y"));
        QVERIFY(sheet.cells().cell(column, totalRow));
        QCOMPARE(displayText(*sheet.cells().cell(column, totalRow)), QStringLiteral("0.00"));
    }

    void partnersOfAnEmptyPeriod() {
        const PartnerFigures figures =
            computePayers(m_book->store(), {at("2024-08-01"), at("2024-08-31")});
        QVERIFY(figures.types.isEmpty());
        QVERIFY(figures.rows.isEmpty());
        QCOMPARE(figures.totals.total, Currency{});
    }

    // Every document of the period with a partner, the whole last day included, by day (not by
    // the time of day), partner name, city and number; the totals of both sections.
    void registerListsTheDocumentsOfThePeriod() {
        const RegisterFigures figures =
            computeRegister(m_book->store(), {at("2024-02-01"), at("2024-02-29")});
        QCOMPARE(figures.ownerName, QStringLiteral("ООО «Владелец»"));
        for (int type : {kIncome, kIssue}) {
            QList<WrittenDocument> expected;
            for (const WrittenDocument& d : written())
                if (d.type == type && d.partner != 0 && within(d.date, m_febStart, m_febEnd))
                    expected.append(d);
            auto key = [&](const WrittenDocument& d) {
                const WrittenPartner& p = m_book->partner(d.partner);
                return std::make_tuple(datetime::dateOf(d.date), cp1251::encode(bookName(p.name)),
                                       cp1251::encode(p.city), cp1251::encode(d.number));
            };
            std::sort(expected.begin(), expected.end(),
                      [&](const auto& a, const auto& b) { return key(a) < key(b); });
            const RegisterSection& section = type == kIncome ? figures.incoming : figures.outgoing;
            QCOMPARE(section.documents.size(), expected.size());
            Currency total;
            for (int i = 0; i < expected.size(); ++i) {
                const RegisterDocument& got = section.documents.at(i);
                const WrittenDocument& want = expected.at(i);
                QCOMPARE(got.key, want.key);
                QCOMPARE(got.type, type);
                QCOMPARE(got.date, want.date);
                QCOMPARE(got.number, want.number);
                QCOMPARE(got.amount, want.amount);
                QCOMPARE(got.partner, m_book->partner(want.partner).name);
                QCOMPARE(got.paymentType, want.paymentType);
                total.units += want.amount.units;
            }
            QCOMPARE(section.total, total);
        }
        // The last second of the period is in; the moment's four in name, city, number order.
        QCOMPARE(figures.incoming.documents.last().date, at("2024-02-29 23:59:59.500"));
        QStringList moment;
        for (const RegisterDocument& d : figures.incoming.documents)
            if (d.date == at("2024-02-20 10:00:00"))
                moment << d.number;
        QCOMPARE(moment, (QStringList{"3", "1", "10", "9"}));
    }

    void registerOfAnEmptyPeriod() {
        const RegisterFigures figures =
            computeRegister(m_book->store(), {at("2024-08-01"), at("2024-08-31")});
        QVERIFY(figures.incoming.documents.isEmpty());
        QVERIFY(figures.outgoing.documents.isEmpty());
        QCOMPARE(figures.incoming.total, Currency{});
        QCOMPARE(figures.outgoing.total, Currency{});
    }

    // Every issue payment type by name with its limit and the month's issue documents of its
    // name (a trailing blank aside); the month's first moment and last second are in.
    void expenseAnalysisSetsSpendingAgainstLimits() {
        const Period may = expenseMonth(at("2024-05-17 15:30:00"));
        const ExpenseFigures figures = computeExpenseAnalysis(m_book->store(), may);
        QList<int> order;
        for (const QString& key : schematest::rows(
                 m_book->database(), "SELECT PRKEY FROM REASONS WHERE TYP=2 ORDER BY REASON"))
            order << key.toInt();
        QCOMPARE(figures.lines.size(), order.size());
        QCOMPARE(order.size(), m_issueTypes.size());
        for (int i = 0; i < order.size(); ++i) {
            const ExpenseLine& line = figures.lines.at(i);
            QCOMPARE(line.key, order.at(i));
            const auto stored =
                std::find_if(m_issueTypes.cbegin(), m_issueTypes.cend(),
                             [&](const ExpenseLine& l) { return l.key == line.key; });
            QVERIFY(stored != m_issueTypes.cend());
            QCOMPARE(line.paymentType, stored->paymentType);
            QCOMPARE(line.limit, stored->limit);
            QCOMPARE(line.spending, sumOf(written(), [&](const WrittenDocument& d) {
                         return d.type == kIssue && within(d.date, may.start, may.end) &&
                                bookName(d.paymentType) == line.paymentType;
                     }));
        }
        auto spendingOf = [&](const QString& name) {
            for (const ExpenseLine& line : figures.lines)
                if (line.paymentType == name)
                    return line.spending;
            return Currency{-1};
        };
        QCOMPARE(spendingOf("Аренда офиса"), cents(15000));
        QCOMPARE(spendingOf("Связь"), cents(3000));
        QCOMPARE(spendingOf("Транспорт"), cents(4000));
        QCOMPARE(spendingOf("Канцтовары"), Currency{});
    }

    // The five modes; S the spending, L the limit, shown as one character per mode 0 to 4.
    void expenseModes_data() {
        QTest::addColumn<qint64>("spending");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a limit, no spending") << qint64(0) << qint64(5000) << "00011";
        QTest::newRow("spending, no limit") << qint64(3000) << qint64(0) << "01001";
        QTest::newRow("spending equal to the limit") << qint64(4000) << qint64(4000) << "11001";
        QTest::newRow("over the limit") << qint64(15000) << qint64(10000) << "11101";
        QTest::newRow("under the limit") << qint64(3000) << qint64(10000) << "11011";
        QTest::newRow("a kopeck over") << qint64(10001) << qint64(10000) << "11101";
        QTest::newRow("neither") << qint64(0) << qint64(0) << "00001";
    }
    void expenseModes() {
        QFETCH(qint64, spending);
        QFETCH(qint64, limit);
        QFETCH(QString, shown);
        ExpenseLine line;
        line.spending = cents(spending);
        line.limit = cents(limit);
        QString got;
        for (ExpenseMode mode : {ExpenseMode::SpendingWithLimit, ExpenseMode::Spending,
                                 ExpenseMode::OverLimit, ExpenseMode::UnderLimit, ExpenseMode::All})
            got += expenseShown(line, mode) ? u'1' : u'0';
        QCOMPARE(got, shown);
    }

    void expenseMonthIsTheWholeMonth_data() {
        QTest::addColumn<QString>("reportDate");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("a stored report's start") << "2024-03-01"
                                                 << "2024-03-01"
                                                 << "2024-03-31 23:59:59.999";
        QTest::newRow("the middle of a leap February") << "2024-02-17 13:45:00"
                                                       << "2024-02-01"
                                                       << "2024-02-29 23:59:59.999";
        QTest::newRow("the last moment of December") << "2023-12-31 23:59:59.999"
                                                     << "2023-12-01"
                                                     << "2023-12-31 23:59:59.999";
        QTest::newRow("a short month") << "2023-02-28"
                                       << "2023-02-01"
                                       << "2023-02-28 23:59:59.999";
    }
    void expenseMonthIsTheWholeMonth() {
        QFETCH(QString, reportDate);
        QFETCH(QString, start);
        QFETCH(QString, end);
        const Period month = expenseMonth(at(reportDate));
        QCOMPARE(datetime::decode(month.start), datetime::decode(at(start)));
        QCOMPARE(datetime::decode(month.end), datetime::decode(at(end)));
    }
};

QTEST_MAIN(TestReportFigures)
#include "test_report_figures.moc"
