#include "store/cash_documents.h"

#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/document_list.h"
#include "store/new_book.h"
#include "store/stored_row.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/store/store_notices.h"

#include <QTest>

using testsupport::messageOf;

Q_DECLARE_METATYPE(CashDocument)

namespace {

const QString kChangedElsewhere =
    QStringLiteral("Документ изменен или удален в другом окне или другим пользователем, пока "
                   "был открыт здесь. Закройте окно без сохранения и откройте документ снова.");

DateTime march(int day, int hour = 10) {
    return datetime::encode(QDate(2024, 3, day), QTime(hour, 0));
}

// A document that passes the save checks.
CashDocument complete() {
    CashDocument d;
    d.type = kIncomeDocument;
    d.partner = 10001;
    d.paymentType = QStringLiteral("Аренда");
    d.amount = Currency{};
    return d;
}

} // namespace

class TestCashDocuments : public QObject {
    Q_OBJECT

    StoreNotices m_notices;
    std::unique_ptr<schematest::Workplace> m_place;
    int m_alpha = 0;
    int m_beta = 0;
    int m_user = 0;

    DataStore& store() { return m_place->store(); }
    fb::Attachment& book() { return store().database(); }

    void execute(const QString& sql) {
        fb::Transaction transaction(book());
        fb::Statement(transaction, sql).execute();
        transaction.commit();
    }
    QString value(const QString& sql) { return schematest::value(book(), sql); }
    int count(const QString& sql) { return value(sql).toInt(); }

    int addPartner(const QString& name) {
        const int key = store().newKey(QStringLiteral("PARTS"));
        execute(QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (%1, 1, '%2')")
                    .arg(key)
                    .arg(name));
        return key;
    }

    // A stored document; its key.
    int addDocument(int type, int partner, const QString& reason, DateTime date,
                    const QString& purpose = QString(), const QString& number = QString()) {
        CashDocuments documents(store());
        CashDocument d = documents.newDocument(type);
        d.partner = partner;
        d.paymentType = reason;
        d.amount = currencyFromDouble(10);
        d.date = date;
        d.purposes[0] = purpose;
        d.number = number;
        documents.insert(d);
        return d.key;
    }

private slots:
    void initTestCase() { fb::prepareEmbeddedEngine(); }

    void init() {
        m_place = std::make_unique<schematest::Workplace>();
        const QString path = createNewBook(BookKind::BankAccount, QStringLiteral("Книга"),
                                           m_place->folder(), schematest::templatesFolder());
        book().attach(path);
        m_user = count(QStringLiteral("SELECT MIN(PRKEY) FROM USERS"));
        store().setUserKey(m_user);
        m_alpha = addPartner(QStringLiteral("Альфа"));
        m_beta = addPartner(QStringLiteral("Бета"));
    }

    void cleanup() { m_place.reset(); }

    // ---- The checks before a save ----

    void saveProblemIsTheFirstCheckFailed_data() {
        QTest::addColumn<CashDocument>("document");
        QTest::addColumn<QString>("problem");
        CashDocument none;
        QTest::newRow("nothing") << none << "Не указан партнер!";
        CashDocument noPartner = complete();
        noPartner.partner = 0;
        QTest::newRow("no partner, the rest given") << noPartner << "Не указан партнер!";
        CashDocument noType = complete();
        noType.paymentType.clear();
        noType.amount.reset();
        QTest::newRow("no payment type, no amount") << noType << "Не указан тип платежа!";
        CashDocument blanks = complete();
        blanks.paymentType = QStringLiteral("  \t ");
        QTest::newRow("a payment type of blanks") << blanks << "Не указан тип платежа!";
        CashDocument noAmount = complete();
        noAmount.amount.reset();
        QTest::newRow("no amount") << noAmount << "Не указана сумма!";
        QTest::newRow("an amount of 0") << complete() << "";
        CashDocument bare = complete();
        bare.number.clear();
        bare.date.reset();
        bare.taxPart.reset();
        QTest::newRow("no number, date or tax part") << bare << "";
    }
    void saveProblemIsTheFirstCheckFailed() {
        QFETCH(CashDocument, document);
        QFETCH(QString, problem);
        QCOMPARE(saveProblem(document), problem);
    }

    // ---- Reading and writing ----

    // A new document is inserted with every column and the HISTORY row of its first save; it
    // reads back as it was stored, by its key and its type only.
    void aNewDocumentIsStoredWithItsHistory() {
        datetime::setNowForTesting([] { return march(20, 15); });
        CashDocuments documents(store());
        CashDocument d = documents.newDocument(kIssueDocument);
        datetime::setNowForTesting({});
        QVERIFY(d.key > 0);
        QCOMPARE(d.type, kIssueDocument);
        QCOMPARE(d.date.value_or(0), march(20, 15));
        QVERIFY(documents.transaction().isActive());
        QCOMPARE(documents.read(d.key, kIssueDocument), std::nullopt); // not stored yet
        d.number = QStringLiteral("A-15");
        d.date2 = march(22, 0);
        d.partner = m_alpha;
        d.paymentType = QStringLiteral("Аренда");
        d.amount = currencyFromDouble(1234.5678);
        d.taxPart = currencyFromDouble(0.0001);
        d.purposes = {QStringLiteral("первая"), QString(), QStringLiteral("третья")};
        d.extra = QStringLiteral("DT=301") + QChar(1);
        documents.insert(d);

        QCOMPARE(value(QStringLiteral("SELECT TYP || '|' || NUM || '|' || LPART || '|' || REASON "
                                      "|| '|' || SUM1 || '|' || SUM2 || '|' || PURP1 || '|' || "
                                      "PURP3 FROM OPER WHERE PRKEY=%1")
                           .arg(d.key)),
                 QStringLiteral("2|A-15|%1|Аренда|1234.5678|0.0001|первая|третья").arg(m_alpha));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM OPER WHERE PRKEY=%1 AND PURP2 IS NULL")
                           .arg(d.key)),
                 1); // an empty text is a null column
        QCOMPARE(
            value(
                QStringLiteral("SELECT TYP || '|' || LUSER FROM HISTORY WHERE LDOC=%1").arg(d.key)),
            QStringLiteral("2|%1").arg(m_user));

        CashDocuments other(store());
        QVERIFY(other.read(d.key, kIssueDocument) == d);
        QVERIFY(other.read(d.key) == d);
        QCOMPARE(other.read(d.key, kIncomeDocument), std::nullopt); // a row of another type
        QCOMPARE(other.read(d.key + 1000), std::nullopt);
    }

    // The document read, changed and stored over the row: the row takes the change, and no
    // HISTORY row is written; deleting takes the row away.
    void aReadDocumentIsUpdatedAndDeleted() {
        const int key = addDocument(kIncomeDocument, m_alpha, QStringLiteral("Аренда"), march(5));
        CashDocuments documents(store());
        const CashDocument read = *documents.read(key, kIncomeDocument);
        CashDocument changed = read;
        changed.amount = currencyFromDouble(250.75);
        changed.number = QStringLiteral("7/1");
        changed.purposes[0].clear();
        documents.update(changed, read);
        QCOMPARE(value(QStringLiteral("SELECT NUM || ' ' || SUM1 FROM OPER WHERE PRKEY=%1 AND "
                                      "PURP1 IS NULL")
                           .arg(key)),
                 "7/1 250.7500");
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM HISTORY WHERE LDOC=%1").arg(key)), 1);

        CashDocuments again(store());
        const CashDocument stored = *again.read(key, kIncomeDocument);
        QVERIFY(stored == changed);
        again.remove(stored);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM OPER WHERE PRKEY=%1").arg(key)), 0);
    }

    void aDocumentChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere"); // what another window does before the save
        QTest::addColumn<bool>("remove");       // the save is a delete
        QTest::newRow("changed, then saved") << "UPDATE OPER SET NUM='9'" << false;
        QTest::newRow("changed, then deleted") << "UPDATE OPER SET NUM='9'" << true;
        QTest::newRow("its ETC changed") << "UPDATE OPER SET ETC='KT=1'" << false;
        QTest::newRow("deleted, then saved") << "DELETE FROM OPER" << false;
        QTest::newRow("being changed") << "" << false;
    }
    void aDocumentChangedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(bool, remove);
        const int key = addDocument(kIncomeDocument, m_alpha, QStringLiteral("Аренда"), march(5),
                                    QString(), QStringLiteral("7"));
        CashDocuments documents(store());
        const CashDocument read = *documents.read(key, kIncomeDocument);
        // Another copy holds the row in a transaction not ended yet.
        fb::Transaction holding(book());
        fb::Statement hold(holding,
                           QStringLiteral("UPDATE OPER SET NUM=NUM WHERE PRKEY=%1").arg(key));
        if (elsewhere.isEmpty())
            hold.execute();
        else
            execute(elsewhere + QStringLiteral(" WHERE PRKEY=%1").arg(key));
        const QString before =
            value(QStringLiteral("SELECT NUM || ' ' || SUM1 FROM OPER WHERE PRKEY=%1").arg(key));
        CashDocument changed = read;
        changed.amount = currencyFromDouble(1);
        const QString message = messageOf([&] {
            try {
                if (remove)
                    documents.remove(read);
                else
                    documents.update(changed, read);
            } catch (const RowChangedElsewhere&) {
                throw;
            } catch (...) {
                QFAIL("refused otherwise");
            }
        });
        QCOMPARE(message, kChangedElsewhere);
        holding.rollback();
        QCOMPARE(
            value(QStringLiteral("SELECT NUM || ' ' || SUM1 FROM OPER WHERE PRKEY=%1").arg(key)),
            before);
        if (elsewhere.isEmpty()) { // once the other is done, the save goes through
            documents.update(changed, read);
            QCOMPARE(value(QStringLiteral("SELECT SUM1 FROM OPER WHERE PRKEY=%1").arg(key)), "1");
        }
    }

    // A save the book refuses as it writes keeps nothing, its HISTORY row neither, and may be
    // tried again.
    void aRefusedSaveKeepsNothing() {
        execute(QStringLiteral("CREATE EXCEPTION E_TEST_REFUSED 'Запись запрещена'"));
        execute(QStringLiteral("CREATE TRIGGER OPER_TEST_BI FOR OPER ACTIVE BEFORE INSERT "
                               "POSITION 9 AS BEGIN EXCEPTION E_TEST_REFUSED; END"));
        CashDocuments documents(store());
        CashDocument d = documents.newDocument(kIncomeDocument);
        d.partner = m_alpha;
        d.paymentType = QStringLiteral("Аренда");
        d.amount = currencyFromDouble(5);
        QCOMPARE(messageOf([&] {
                     try {
                         documents.insert(d);
                     } catch (const DocumentNotStored&) {
                         throw;
                     } catch (...) {
                         QFAIL("refused otherwise");
                     }
                 }),
                 "Запись запрещена");
        QCOMPARE(count("SELECT COUNT(*) FROM OPER"), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM HISTORY"), 0);
        execute(QStringLiteral("DROP TRIGGER OPER_TEST_BI"));
        documents.insert(d);
        QCOMPARE(count("SELECT COUNT(*) FROM OPER"), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM HISTORY"), 1);
    }

    // Each opening is one HISTORY row, committed at once; the list shows the openings of users
    // that exist, the latest first.
    void openingsAndTheirList() {
        const int key = addDocument(kIncomeDocument, m_alpha, QStringLiteral("Аренда"), march(5));
        CashDocuments documents(store());
        datetime::setNowForTesting([] { return march(6); });
        documents.noteOpening(key, kIncomeDocument);
        datetime::setNowForTesting([] { return march(7); });
        documents.noteOpening(key, kIncomeDocument);
        datetime::setNowForTesting({});
        store().setUserKey(0);
        documents.noteOpening(key, kIncomeDocument);
        documents.noteOpening(0, kIncomeDocument); // no document: nothing
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM HISTORY WHERE LDOC=%1").arg(key)), 4);
        QCOMPARE(count("SELECT COUNT(*) FROM HISTORY WHERE LDOC=0"), 0);

        fb::DataSet list(book());
        CashDocuments::openHistory(list, key);
        QStringList rows;
        for (; !list.eof(); list.next())
            rows << list.field("DAT").displayText().left(10) + ' ' + list.field("LNAM").asString();
        const QString user =
            value(QStringLiteral("SELECT LNAM FROM USERS WHERE PRKEY=%1").arg(m_user));
        // The first save (now), the two openings; not the one by nobody.
        QCOMPARE(rows.mid(1), (QStringList{"07.03.2024 " + user, "06.03.2024 " + user}));
        QCOMPARE(rows.first(), QDate::currentDate().toString("dd.MM.yyyy ") + user);
    }

    // ---- The rules of a new document ----

    // The partner's latest other document of the type gives the payment type (of two on one
    // date the later entered), the latest of the type, partner and payment type the purposes
    // (the document itself among them).
    void partnerAndPaymentTypeRules() {
        addDocument(kIncomeDocument, m_alpha, QStringLiteral("Аренда"), march(1), "аренда 1");
        addDocument(kIncomeDocument, m_alpha, QStringLiteral("Аренда"), march(5), "аренда 5");
        addDocument(kIncomeDocument, m_alpha, QStringLiteral("Взнос"), march(5), "взнос 5");
        addDocument(kIssueDocument, m_alpha, QStringLiteral("Премия"), march(9), "чужая");
        const int itself =
            addDocument(kIncomeDocument, m_beta, QStringLiteral("Взнос"), march(20), "сам");
        CashDocuments documents(store());
        CashDocument d = documents.newDocument(kIncomeDocument);
        d.partner = m_alpha;
        QCOMPARE(documents.latestPaymentType(d), std::optional(QStringLiteral("Взнос")));
        d.paymentType = QStringLiteral("Аренда");
        QCOMPARE(documents.latestPurposes(d)[0], "аренда 5");
        d.paymentType = QStringLiteral("Премия");
        QCOMPARE(documents.latestPurposes(d), (std::array<QString, 3>{}));
        d.partner = 0;
        QCOMPARE(documents.latestPaymentType(d), std::nullopt);

        CashDocument corrected = *documents.read(itself, kIncomeDocument);
        QCOMPARE(documents.latestPaymentType(corrected), std::nullopt); // only the document itself
        QCOMPARE(documents.latestPurposes(corrected)[0], "сам");
    }

    void issuesAreNumberedAfterTheLatest() {
        CashDocuments documents(store());
        QCOMPARE(documents.proposedIssueNumber(), "1");
        addDocument(kIssueDocument, m_alpha, "Аренда", march(1), QString(), "99");
        addDocument(kIssueDocument, m_alpha, "Аренда", march(8), QString(), "17");
        addDocument(kIssueDocument, m_alpha, "Аренда", march(8), QString(), "41");
        addDocument(kIncomeDocument, m_alpha, "Аренда", march(20), QString(), "500");
        QCOMPARE(documents.proposedIssueNumber(), "42");
        addDocument(kIssueDocument, m_alpha, "Аренда", march(9), QString(), "41a");
        QCOMPARE(documents.proposedIssueNumber(), "1");
    }

    // ---- The browsers' list ----

    // The documents of a type within the period, of every partner or one, and the total of
    // their amounts to the last of its four decimals.
    void theListAndItsTotal() {
        auto add = [&](int type, int partner, DateTime date, const char* amount) {
            CashDocuments documents(store());
            CashDocument d = documents.newDocument(type);
            d.partner = partner;
            d.paymentType = QStringLiteral("Аренда");
            d.date = date;
            if (amount)
                d.amount = strToCurrDot(QString::fromLatin1(amount));
            documents.insert(d);
            return d.key;
        };
        // Summed as floating-point numbers, the small amounts would be lost beside the large one.
        const int big = add(kIncomeDocument, m_alpha, march(5), "99999999999.9999");
        QList<int> small;
        for (int hour = 0; hour < 20; ++hour)
            small << add(kIncomeDocument, m_beta, march(6, hour), "0.0001");
        const int none = add(kIncomeDocument, m_beta, march(7), nullptr); // no amount
        add(kIssueDocument, m_alpha, march(5), "3");                      // another type
        add(kIncomeDocument, m_alpha, march(25), "4");                    // after the period
        DocumentListFilter filter{kIncomeDocument, march(1, 0), datetime::endOfDay(march(20)), {}};
        fb::Transaction transaction(book(), fb::TransactionKind::ReadOnly);
        QCOMPARE(documentListTotal(transaction, filter).units, 1000000000000019LL);
        fb::DataSet rows(book());
        selectDocumentList(rows, filter);
        rows.open();
        QList<int> keys;
        for (; !rows.eof(); rows.next())
            keys << int(rows.field("PRKEY").asInteger());
        QList<int> latestFirst{none};
        for (auto it = small.crbegin(); it != small.crend(); ++it)
            latestFirst << *it;
        QCOMPARE(keys, latestFirst << big);

        filter.partner = m_beta;
        QCOMPARE(documentListTotal(transaction, filter).units, 20);
        filter.start = march(26, 0);
        filter.end = march(27, 0);
        QCOMPARE(documentListTotal(transaction, filter).units, 0);
    }
};

QTEST_MAIN(TestCashDocuments)
#include "test_cash_documents.moc"
