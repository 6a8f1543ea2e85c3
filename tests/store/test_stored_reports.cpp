#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/stored_reports.h"
#include "store/stored_row.h"
#include "tests/support/store/report_book.h"

#include <QTest>
#include <memory>

using namespace reportbook;

namespace {

// A sheet's stored text of some length, with Cyrillic text, escapes and blanks.
QString sheetText(const QString& title) {
    QString text =
        QStringLiteral("RS(0,0,8,400) X(0) Y(0) Vs(%1) Sd(ROW_TITLE=Y\\1\\) ").arg(title);
    for (int y = 1; y < 400; ++y)
        text += QStringLiteral("Y(%1) Vn(%2.25) B(1,1,1,1) Nf(#0.00) ").arg(y).arg(y * 1000);
    return text;
}

StoredReport february(int key) {
    StoredReport report;
    report.key = key;
    report.type = kMovementReportType;
    report.start = at("2024-02-01");
    report.end = at("2024-02-29 23:59:59");
    report.closingFigure = cents(123456);
    report.sheetText = sheetText(QStringLiteral("Движение денег по Кассе за февраль 2024 г."));
    return report;
}

} // namespace

// The stored reports' rows in a real book: each operation committed, none over another copy's
// change.
class TestStoredReports : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportBook> m_book;
    std::unique_ptr<StoredReports> m_reports;

    // Runs a statement on a connection of its own (another copy of the program), committed.
    void elsewhere(const QString& sql) {
        fb::Attachment other;
        other.attach(m_book->path());
        fb::Transaction tr(other);
        fb::Statement(tr, sql).execute();
        tr.commit();
    }
    // The row as another connection reads it: "TYP|SUM1|SUM2", empty when it is gone.
    QString seenElsewhere(int key) {
        fb::Attachment other;
        other.attach(m_book->path());
        return schematest::value(
            other, QStringLiteral("SELECT TYP, SUM1, SUM2 FROM OPER WHERE PRKEY=%1").arg(key));
    }

private slots:
    void init() {
        m_book = std::make_unique<ReportBook>();
        m_reports = std::make_unique<StoredReports>(m_book->store());
    }
    void cleanup() {
        m_reports.reset();
        m_book.reset();
    }

    void aNewReportIsStoredWholeAndReadBack() {
        const StoredReport report = february(m_reports->newKey());
        QVERIFY(report.key > 10000);
        QVERIFY(!m_reports->read(report.key, kMovementReportType));
        m_reports->save(report, std::nullopt);
        QCOMPARE(seenElsewhere(report.key), QStringLiteral("101||1234.56"));
        const std::optional<StoredReport> read = m_reports->read(report.key, kMovementReportType);
        QVERIFY(read);
        QVERIFY(*read == report);
        QCOMPARE(read->sheetText, report.sheetText);
        // A row of another type, or no row, is none.
        QVERIFY(!m_reports->read(report.key, kPayersReportType));
        QVERIFY(!m_reports->read(report.key + 1, kMovementReportType));
    }

    // A save over the row as read writes the sheet, the period and the closing figure, and keeps
    // SUM1 as it was read.
    void aSaveReplacesTheRowAsRead() {
        const StoredReport report = february(m_reports->newKey());
        m_reports->save(report, std::nullopt);
        elsewhere(QStringLiteral("UPDATE OPER SET SUM1=5.5 WHERE PRKEY=%1").arg(report.key));
        const std::optional<StoredReport> read = m_reports->read(report.key, kMovementReportType);
        QVERIFY(read);
        QCOMPARE(read->sum1, std::optional(Currency{55000}));
        StoredReport changed = *read;
        changed.sheetText = sheetText(QStringLiteral("Пересчитан"));
        changed.closingFigure = cents(-500);
        changed.end = at("2024-03-31 23:59:59");
        m_reports->save(changed, read);
        QVERIFY(m_reports->read(report.key, kMovementReportType) == changed);
        QCOMPARE(seenElsewhere(report.key), QStringLiteral("101|5.5|-5"));
    }

    void aDeleteRemovesTheRow() {
        const StoredReport report = february(m_reports->newKey());
        m_reports->save(report, std::nullopt);
        m_reports->remove(report);
        QVERIFY(!m_reports->read(report.key, kMovementReportType));
        QCOMPARE(seenElsewhere(report.key), QString());
    }

    // A report that another copy changed or deleted since it was read is neither overwritten,
    // nor deleted, nor stored again.
    void aReportChangedElsewhereIsLeftAsItIs_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("left");
        QTest::newRow("changed") << "UPDATE OPER SET SUM2=7 WHERE PRKEY=%1"
                                 << "101||7";
        QTest::newRow("deleted") << "DELETE FROM OPER WHERE PRKEY=%1"
                                 << "";
    }
    void aReportChangedElsewhereIsLeftAsItIs() {
        QFETCH(QString, change);
        QFETCH(QString, left);
        const StoredReport report = february(m_reports->newKey());
        m_reports->save(report, std::nullopt);
        const std::optional<StoredReport> read = m_reports->read(report.key, kMovementReportType);
        elsewhere(change.arg(report.key));
        StoredReport changed = *read;
        changed.closingFigure = cents(1);
        QVERIFY_THROWS_EXCEPTION(RowChangedElsewhere, m_reports->save(changed, read));
        QCOMPARE(seenElsewhere(report.key), left);
        QVERIFY_THROWS_EXCEPTION(RowChangedElsewhere, m_reports->remove(*read));
        QCOMPARE(seenElsewhere(report.key), left);
    }

    // While another copy writes the row, a save writes nothing and says so; once it is done the
    // row is still as that copy left it.
    void aReportBeingWrittenElsewhereIsNotTouched() {
        const StoredReport report = february(m_reports->newKey());
        m_reports->save(report, std::nullopt);
        const std::optional<StoredReport> read = m_reports->read(report.key, kMovementReportType);
        fb::Attachment other;
        other.attach(m_book->path());
        fb::Transaction writing(other);
        fb::Statement(writing,
                      QStringLiteral("UPDATE OPER SET SUM2=9 WHERE PRKEY=%1").arg(report.key))
            .execute();
        StoredReport changed = *read;
        changed.closingFigure = cents(1);
        QVERIFY_THROWS_EXCEPTION(RowChangedElsewhere, m_reports->save(changed, read));
        writing.rollback();
        QVERIFY(m_reports->read(report.key, kMovementReportType) == report);
        // Nothing is left hanging: the save goes through now.
        m_reports->save(changed, read);
        QVERIFY(m_reports->read(report.key, kMovementReportType) == changed);
    }

    // A figure beyond any amount the program keeps reads as an error, never as a wrong amount.
    void aFigureBeyondAnyAmountIsAnError() {
        const StoredReport report = february(m_reports->newKey());
        m_reports->save(report, std::nullopt);
        elsewhere(QStringLiteral("UPDATE OPER SET SUM2=1e20 WHERE PRKEY=%1").arg(report.key));
        QVERIFY_THROWS_EXCEPTION(ConvertError, m_reports->read(report.key, kMovementReportType));
    }

    // The latest end of a type's reports, whatever their order of saving.
    void theLatestEndIsTheTypes() {
        QVERIFY(!m_reports->latestEnd(kMovementReportType));
        m_book->addStoredReport(kMovementReportType, at("2024-01-01"), at("2024-01-31 23:59:59"),
                                cents(1));
        m_book->addStoredReport(kMovementReportType, at("2023-12-01"), at("2023-12-31 23:59:59"),
                                cents(1));
        m_book->addStoredReport(kPayersReportType, at("2024-02-01"), at("2024-02-29 23:59:59"),
                                cents(1));
        QCOMPARE(m_reports->latestEnd(kMovementReportType), at("2024-01-31 23:59:59"));
        QCOMPARE(m_reports->latestEnd(kPayersReportType), at("2024-02-29 23:59:59"));
        QVERIFY(!m_reports->latestEnd(kRecipientsReportType));
    }

    // A browser lists its type's reports that start within its period, the newest first.
    void theBrowserListsItsTypesReportsOfThePeriod() {
        const int january = m_book->addStoredReport(kMovementReportType, at("2024-01-01"),
                                                    at("2024-01-31 23:59:59"), cents(100));
        const int march = m_book->addStoredReport(kMovementReportType, at("2024-03-01"),
                                                  at("2024-03-31 23:59:59"), cents(300));
        const int february = m_book->addStoredReport(kMovementReportType, at("2024-02-01"),
                                                     at("2024-02-29 23:59:59"), cents(200));
        m_book->addStoredReport(kMovementReportType, at("2023-12-01"), at("2024-01-31 23:59:59"),
                                cents(1));
        m_book->addStoredReport(kPayersReportType, at("2024-02-01"), at("2024-02-29 23:59:59"),
                                cents(2));
        fb::DataSet rows(m_book->database(), fb::TransactionKind::ReadOnly);
        StoredReports::selectBrowserRows(rows, kMovementReportType, at("2024-01-01"),
                                         at("2024-03-01 23:59:59.999"));
        rows.open();
        QCOMPARE(rows.fieldNames(), (QStringList{"PRKEY", "SUM1", "DAT", "SUM2"}));
        QList<int> keys;
        QStringList sums;
        for (rows.first(); !rows.eof(); rows.next()) {
            keys << int(rows.field("PRKEY").asInteger());
            sums << rows.field("SUM2").asString();
        }
        QCOMPARE(keys, (QList<int>{march, february, january}));
        QCOMPARE(sums, (QStringList{"3", "2", "1"}));
    }
};

QTEST_MAIN(TestStoredReports)
#include "test_stored_reports.moc"
