#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/report_data.h"
#include "store/stored_reports.h"
#include "store/stored_row.h"
#include "tests/support/store/report_book.h"

#include <QTest>
#include <algorithm>
#include <memory>

using namespace reportbook;

namespace {

constexpr int kIncome = 1;
constexpr int kIssue = 2;

QString bookName(QString name) {
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

} // namespace

// The documents behind a report's cell, and the limits the expense analysis stores, in a real
// book.
class TestReportData : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportBook> m_book;
    int m_office = 0;

    QString limitElsewhere(int key) {
        fb::Attachment other;
        other.attach(m_book->path());
        return schematest::value(
            other, QStringLiteral("SELECT LIMIT FROM REASONS WHERE PRKEY=%1").arg(key));
    }

    void execute(const QString& sql) {
        fb::Transaction tr(m_book->database());
        fb::Statement(tr, sql).execute();
        tr.commit();
    }

    // The limit as the book holds it now.
    Currency storedLimit(int key) { return currencyFromDouble(limitElsewhere(key).toDouble()); }

private slots:
    void initTestCase() {
        m_book = std::make_unique<ReportBook>();
        ReportBook& b = *m_book;
        const int kiev = b.addPartner(kIncome, "ООО Альфа", "Киев");
        const int vinnytsia = b.addPartner(kIncome, "ООО Альфа", "Винница");
        const int blank = b.addPartner(kIncome, "ООО Альфа ");
        const int beta = b.addPartner(kIncome, "ИП Бета");
        const int shop = b.addPartner(kIssue, "ООО Магазин");
        b.addDocument(kIncome, at("2024-02-04 23:59:59.900"), kiev, "Аренда", cents(1));
        b.addDocument(kIncome, at("2024-02-05 00:00:00"), kiev, "Аренда", cents(100));
        b.addDocument(kIncome, at("2024-02-05 10:00:00"), vinnytsia, "Аренда ", cents(200));
        b.addDocument(kIncome, at("2024-02-05 11:00:00"), beta, "Аренда", cents(300));
        b.addDocument(kIncome, at("2024-02-05 12:00:00"), kiev, "Услуги", cents(400));
        b.addDocument(kIncome, at("2024-02-05 23:59:59.500"), blank, "Аренда", cents(500));
        b.addDocument(kIncome, at("2024-02-06 00:00:00"), kiev, "Аренда", cents(600));
        b.addDocument(kIncome, at("2024-02-29 23:59:59.500"), kiev, "Аренда", cents(700));
        b.addDocument(kIssue, at("2024-02-05 13:00:00"), shop, "Аренда", cents(800));
        b.addDocument(kIssue, at("2024-02-10 13:00:00"), shop, "Связь ", cents(900));
        m_office = b.addPaymentType(kIssue, "Аренда офиса", cents(10000));
    }
    void cleanupTestCase() { m_book.reset(); }

    // The documents of a cell: of its document type and payment type (as the book compares
    // names), in its dates, of its partner name when it has one; the four columns the pick
    // dialog shows, with the key and type of each.
    void aCellListsItsDocuments_data() {
        QTest::addColumn<int>("documentType");
        QTest::addColumn<QString>("paymentType");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("partnerName");
        QTest::newRow("a day of the movement") << kIncome << "Аренда"
                                               << "2024-02-05"
                                               << "2024-02-05 23:59:59.999"
                                               << "";
        QTest::newRow("a partner of the period") << kIncome << "Аренда"
                                                 << "2024-02-01"
                                                 << "2024-02-29 23:59:59.999"
                                                 << "ООО Альфа";
        QTest::newRow("an issue type of the month") << kIssue << "Связь"
                                                    << "2024-02-01"
                                                    << "2024-02-29 23:59:59.999"
                                                    << "";
        QTest::newRow("nothing") << kIssue << "Налоги"
                                 << "2024-02-01"
                                 << "2024-02-29 23:59:59.999"
                                 << "";
    }
    void aCellListsItsDocuments() {
        QFETCH(int, documentType);
        QFETCH(QString, paymentType);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, partnerName);
        CellDocuments cell;
        cell.documentType = documentType;
        cell.paymentType = paymentType;
        cell.from = at(from);
        cell.to = at(to);
        if (!partnerName.isEmpty())
            cell.partnerName = partnerName;
        fb::DataSet list(m_book->database(), fb::TransactionKind::ReadOnly);
        ReportData::selectCellDocuments(list, cell);
        list.open();
        QCOMPARE(list.fieldNames(), (QStringList{"PRKEY", "TYP", "DAT", "NUM", "SUM1", "LNAM"}));
        QList<int> keys;
        for (list.first(); !list.eof(); list.next()) {
            keys << int(list.field("PRKEY").asInteger());
            QCOMPARE(int(list.field("TYP").asInteger()), documentType);
            QCOMPARE(list.field("DAT").displayText(),
                     datetime::decodeDate(list.field("DAT").asDateTime()).toString("dd.MM.yyyy"));
        }
        QCOMPARE(list.field("SUM1").displayFormat(), QStringLiteral("#0.00"));
        std::sort(keys.begin(), keys.end());
        QList<int> expected;
        for (const WrittenDocument& d : m_book->documents())
            if (d.type == documentType && bookName(d.paymentType) == paymentType &&
                d.date >= cell.from && d.date <= cell.to &&
                (partnerName.isEmpty() || bookName(m_book->partner(d.partner).name) == partnerName))
                expected << d.key;
        QCOMPARE(keys, expected);
        QCOMPARE(keys.isEmpty(), QTest::currentDataTag() == QLatin1String("nothing"));
    }

    // A limit is stored and committed at once, over the limit as read.
    void aLimitIsStored() {
        ReportData data(m_book->store());
        data.setExpenseLimit(m_office, Currency{1234500}, storedLimit(m_office));
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("123.45"));
        data.setExpenseLimit(m_office, Currency{}, Currency{1234500});
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("0"));
    }

    // A limit that another copy changed since it was read, of a type it deleted, or of a type
    // it is writing at this moment is not written: the user is told, the other copy's stays,
    // and a limit written over the one now stored is taken.
    void aLimitChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("changed") << "UPDATE REASONS SET LIMIT=7 WHERE PRKEY=%1" << true << "7";
        QTest::newRow("set where none was")
            << "UPDATE REASONS SET LIMIT=7 WHERE PRKEY=%1" << true << "7";
        QTest::newRow("deleted") << "DELETE FROM REASONS WHERE PRKEY=%1" << true << "";
        QTest::newRow("being written")
            << "UPDATE REASONS SET LIMIT=7 WHERE PRKEY=%1" << false << "1";
    }
    void aLimitChangedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(bool, committed);
        QFETCH(QString, stored);
        const bool none = QTest::currentDataTag() == QLatin1String("set where none was");
        const std::optional<Currency> asWritten = none ? std::nullopt : std::optional(cents(100));
        const int key = m_book->addPaymentType(
            kIssue, QStringLiteral("Лимит: ") + QTest::currentDataTag(), asWritten);
        ReportData data(m_book->store());
        fb::Attachment other;
        other.attach(m_book->path());
        fb::Transaction writing(other);
        fb::Statement(writing, elsewhere.arg(key)).execute();
        if (committed)
            writing.commit();
        try {
            data.setExpenseLimit(key, cents(200), asWritten.value_or(Currency{}));
            QFAIL("a limit changed elsewhere was overwritten");
        } catch (const RowChangedElsewhere& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("Лимит изменен или тип платежа удален в другом окне или "
                                    "другим пользователем, пока анализ был открыт здесь. Анализ "
                                    "прочитан заново; ваш лимит не сохранен."));
        }
        if (!committed)
            writing.rollback();
        QCOMPARE(limitElsewhere(key), stored);
        if (stored.isEmpty())
            return;
        data.setExpenseLimit(key, cents(300), storedLimit(key));
        QCOMPARE(limitElsewhere(key), QStringLiteral("3"));
    }

    // The register's documents of one day come by partner name, city and number, whatever their
    // times of day; the days by date, the last moment of a day before the next day's first.
    void theRegisterOrdersADayByPartner() {
        ReportBook& b = *m_book;
        const int ash = b.addPartner(kIssue, "Ясень");
        const int acaciaLviv = b.addPartner(kIssue, "Акация", "Львов");
        const int acaciaKiev = b.addPartner(kIssue, "Акация", "Киев");
        b.addDocument(kIssue, at("2024-03-04 23:59:59.900"), ash, "Связь", cents(1), "1");
        b.addDocument(kIssue, at("2024-03-05 08:00:00"), ash, "Связь", cents(2), "2");
        b.addDocument(kIssue, at("2024-03-05 12:00:00"), acaciaLviv, "Связь", cents(3), "3");
        b.addDocument(kIssue, at("2024-03-05 17:00:00"), acaciaKiev, "Связь", cents(4), "4");
        b.addDocument(kIssue, at("2024-03-06 00:00:00"), acaciaLviv, "Связь", cents(5), "5");
        QStringList numbers;
        for (const RegisterDocument& d : ReportData(b.store()).registerDocuments(
                 kIssue, at("2024-03-01"), at("2024-03-31 23:59:59.999")))
            numbers << d.number;
        QCOMPARE(numbers, (QStringList{"1", "4", "3", "2", "5"}));
    }

    // An opening balance beyond any amount the program keeps reads as an error, never as a wrong
    // amount.
    void aBalanceBeyondAnyAmountIsAnError() {
        m_book->addStoredReport(kMovementReportType, at("2023-01-01"), at("2023-01-31 23:59:59"),
                                Currency{});
        execute(QStringLiteral("UPDATE OPER SET SUM2=1e20 WHERE TYP=%1").arg(kMovementReportType));
        QVERIFY_THROWS_EXCEPTION(ConvertError,
                                 ReportData(m_book->store()).openingBalance(at("2023-02-01")));
    }

    // A limit the book refuses (its trigger) passes on with the book's text; nothing is stored.
    void aLimitTheBookRefusesPassesOn() {
        {
            fb::Transaction tr(m_book->database());
            fb::Statement(tr, QStringLiteral("CREATE EXCEPTION E_TESTLIMIT 'Лимит отрицательный!'"),
                          fb::ParamMode::Untouched)
                .execute();
            tr.commit();
            fb::Transaction trigger(m_book->database());
            fb::Statement(trigger,
                          QStringLiteral("CREATE TRIGGER REASONS_TEST_BU FOR REASONS BEFORE UPDATE "
                                         "AS BEGIN IF (NEW.LIMIT < 0) THEN EXCEPTION E_TESTLIMIT; "
                                         "END"),
                          fb::ParamMode::Untouched)
                .execute();
            trigger.commit();
        }
        ReportData data(m_book->store());
        data.setExpenseLimit(m_office, cents(400), storedLimit(m_office));
        try {
            data.setExpenseLimit(m_office, cents(-1), cents(400));
            QFAIL("a refused limit was taken");
        } catch (const fb::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Лимит отрицательный!"));
        }
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("4"));
        data.setExpenseLimit(m_office, cents(500), cents(400));
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("5"));
    }
};

QTEST_MAIN(TestReportData)
#include "test_report_data.moc"
