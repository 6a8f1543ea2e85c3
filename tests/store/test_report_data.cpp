#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/report_data.h"
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

    // A limit is stored and committed at once.
    void aLimitIsStored() {
        ReportData data(m_book->store());
        data.setExpenseLimit(m_office, Currency{1234500});
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("123.45"));
        data.setExpenseLimit(m_office, Currency{});
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("0"));
    }

    // A type that another copy deleted, or is writing, takes no limit, and the user is told;
    // nothing is left hanging for the next one.
    void aLimitNotTakenIsSaid() {
        ReportData data(m_book->store());
        data.setExpenseLimit(m_office, cents(100));
        const int gone = m_book->addPaymentType(kIssue, "Удаленный");
        {
            fb::Attachment other;
            other.attach(m_book->path());
            fb::Transaction tr(other);
            fb::Statement(tr, QStringLiteral("DELETE FROM REASONS WHERE PRKEY=%1").arg(gone))
                .execute();
            tr.commit();
        }
        try {
            data.setExpenseLimit(gone, cents(5));
            QFAIL("a limit of a deleted type was taken");
        } catch (const LimitNotStored& e) {
            QCOMPARE(e.message(), QStringLiteral("Лимит не сохранен: тип платежа удален в другом "
                                                 "окне или другим пользователем."));
        }

        fb::Attachment other;
        other.attach(m_book->path());
        fb::Transaction writing(other);
        fb::Statement(writing,
                      QStringLiteral("UPDATE REASONS SET LIMIT=7 WHERE PRKEY=%1").arg(m_office))
            .execute();
        try {
            data.setExpenseLimit(m_office, cents(200));
            QFAIL("a limit of a type held elsewhere was taken");
        } catch (const LimitNotStored& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Лимит не сохранен: тип платежа сейчас "
                                                           "изменяют")),
                     qPrintable(e.message()));
        }
        writing.rollback();
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("1"));
        data.setExpenseLimit(m_office, cents(300));
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("3"));
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
        data.setExpenseLimit(m_office, cents(400));
        try {
            data.setExpenseLimit(m_office, cents(-1));
            QFAIL("a refused limit was taken");
        } catch (const fb::Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Лимит отрицательный!"));
        }
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("4"));
        data.setExpenseLimit(m_office, cents(500));
        QCOMPARE(limitElsewhere(m_office), QStringLiteral("5"));
    }
};

QTEST_MAIN(TestReportData)
#include "test_report_data.moc"
