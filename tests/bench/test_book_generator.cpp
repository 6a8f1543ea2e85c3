#include "bench/book_generator.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/store/store_notices.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTemplates = schematest::templatesFolder();

BookParameters tiny(BookKind kind = BookKind::BankAccount) {
    BookParameters p;
    p.kind = kind;
    p.documents = 600;
    p.partners = 20;
    p.paymentTypes = 10;
    return p;
}

// Every row of a select on the book, through a connection of its own.
QStringList rows(const QString& book, const QString& sql) {
    fb::Attachment db;
    db.attach(book);
    return schematest::rows(db, sql);
}

QString one(const QString& book, const QString& sql) {
    return rows(book, sql).value(0);
}

} // namespace

class TestBookGenerator : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<DataStore> m_store;
    StoreNotices m_notices;

private slots:
    void initTestCase() {
        fb::prepareEmbeddedEngine();
        m_store = std::make_unique<DataStore>(m_dir.filePath(QStringLiteral("kaltro.ini")));
    }
    // The generator makes its books without a word to the user.
    void cleanup() { QCOMPARE(m_notices.texts, QStringList()); }

    void aBookHoldsAYearOfDocumentsWithTheirPartnersTypesAndHistory() {
        const QString book = cachedBook(m_dir.filePath("cache"), kTemplates, tiny());
        QCOMPARE(QFileInfo(book).dir().dirName(), QStringLiteral("bank-2024-d600-p20-t10-s1-l1"));
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER"), QStringLiteral("600"));
        // Half payers, half recipients, beside the owner row.
        QCOMPARE(rows(book, "SELECT TYP, COUNT(*) FROM PARTS WHERE PRKEY<>0 GROUP BY TYP"),
                 (QStringList{"1|10", "2|10"}));
        QCOMPARE(rows(book, "SELECT TYP, COUNT(*) FROM REASONS WHERE PRKEY>2 GROUP BY TYP"),
                 (QStringList{"1|4", "2|6"}));
        // Every document in the year, on a working day, in working hours; its partner of its
        // own type; its payment type one of its type; one to three HISTORY rows of its own.
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER WHERE DAT < '2024-01-01' OR DAT >= "
                           "'2025-01-01' OR EXTRACT(WEEKDAY FROM DAT) IN (0, 6) OR "
                           "EXTRACT(HOUR FROM DAT) < 9 OR EXTRACT(HOUR FROM DAT) >= 18"),
                 QStringLiteral("0"));
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER O JOIN PARTS P ON P.PRKEY=O.LPART "
                           "WHERE P.TYP=O.TYP"),
                 QStringLiteral("600"));
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER O JOIN REASONS R ON R.REASON=O.REASON "
                           "WHERE R.TYP=O.TYP"),
                 QStringLiteral("600"));
        QCOMPARE(one(book, "SELECT MIN(N), MAX(N) FROM (SELECT O.PRKEY, COUNT(H.PRKEY) N "
                           "FROM OPER O LEFT JOIN HISTORY H ON H.LDOC=O.PRKEY AND H.TYP=O.TYP "
                           "AND H.LUSER=1 GROUP BY O.PRKEY)"),
                 QStringLiteral("1|3"));
        QVERIFY(one(book, "SELECT COUNT(*) FROM OPER WHERE TYP=1").toInt() > 200);
        QVERIFY(one(book, "SELECT COUNT(*) FROM OPER WHERE TYP=2").toInt() > 250);
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER WHERE SUM1 IS NULL OR SUM1 <= 0 OR NUM "
                           "IS NULL OR PURP1 IS NULL OR ETC IS NOT NULL OR DAT2 IS NULL"),
                 QStringLiteral("0"));
        // New keys come after the generated ones.
        for (const char* table : {"OPER", "PARTS", "REASONS", "HISTORY"}) {
            fb::Attachment db;
            db.attach(book);
            fb::Transaction tr(db);
            fb::Statement next(tr, QStringLiteral("SELECT GEN_ID(%1_PRKEY_GEN, 1) FROM "
                                                  "RDB$DATABASE")
                                       .arg(QString::fromLatin1(table)));
            next.execute();
            QVERIFY(next.fetch());
            const qint64 key = next.field(0).asInteger();
            next.close();
            tr.rollback();
            QVERIFY2(
                key >
                    one(book,
                        QStringLiteral("SELECT MAX(PRKEY) FROM %1").arg(QString::fromLatin1(table)))
                        .toLongLong(),
                table);
        }
    }

    // A third of the issue types have a limit of 0, a third one under their average month's
    // spending, a third one over it; the income types none.
    void theIssueTypesHaveLimitsUnderAndOverTheirSpending() {
        const QString book = cachedBook(m_dir.filePath("cache"), kTemplates, tiny());
        QCOMPARE(one(book, "SELECT COUNT(*) FROM REASONS WHERE PRKEY>2 AND TYP=1 AND LIMIT IS "
                           "NOT NULL"),
                 QStringLiteral("0"));
        const QStringList types =
            rows(book, "SELECT R.LIMIT, (SELECT SUM(O.SUM1) FROM OPER O WHERE O.TYP=2 AND "
                       "O.REASON=R.REASON) FROM REASONS R WHERE R.PRKEY>2 AND R.TYP=2");
        QCOMPARE(types.size(), 6);
        int zero = 0, under = 0, over = 0;
        for (const QString& type : types) {
            const double limit = type.section('|', 0, 0).toDouble();
            const double month = type.section('|', 1, 1).toDouble() / 12;
            QVERIFY2(month > 0, qPrintable(type));
            if (limit == 0)
                ++zero;
            else if (limit < month)
                ++under;
            else
                ++over;
        }
        QCOMPARE(zero, 2);
        QCOMPARE(under, 2);
        QCOMPARE(over, 2);
    }

    void theSameParametersGiveTheSameBookAndTheCacheKeepsIt() {
        const QString cache = m_dir.filePath(QStringLiteral("same"));
        const QString first = cachedBook(cache, kTemplates, tiny());
        const QDateTime made = QFileInfo(first).lastModified();
        QCOMPARE(cachedBook(cache, kTemplates, tiny()), first);
        QCOMPARE(QFileInfo(first).lastModified(), made);

        // A book whose making was cut short is made again, the same.
        const QString all = "SELECT O.*, P.LNAM FROM OPER O JOIN PARTS P ON P.PRKEY=O.LPART "
                            "ORDER BY O.PRKEY";
        const QStringList documents = rows(first, all);
        QVERIFY(QDir(QFileInfo(first).absolutePath()).removeRecursively());
        QVERIFY(QDir().mkpath(cache + "/" + parametersName(tiny()) + ".making"));
        const QString again = cachedBook(cache, kTemplates, tiny());
        QCOMPARE(again, first);
        QCOMPARE(rows(again, all), documents);
        QVERIFY(!QFileInfo::exists(cache + "/" + parametersName(tiny()) + ".making"));

        BookParameters other = tiny();
        other.seed = 2;
        QVERIFY(rows(cachedBook(cache, kTemplates, other), all) != documents);
    }

    void aCashDeskBookKeepsTheAccountingFieldsOfItsOrders() {
        const QString book =
            cachedBook(m_dir.filePath("cash"), kTemplates, tiny(BookKind::CashDesk));
        QCOMPARE(one(book, "SELECT LOWNER FROM PARTS WHERE PRKEY=0"), QStringLiteral("1"));
        QCOMPARE(one(book, "SELECT COUNT(*) FROM OPER WHERE DAT2 IS NOT NULL OR ETC IS NULL"),
                 QStringLiteral("0"));
        const QStringList receipts = rows(book, "SELECT ETC FROM OPER WHERE TYP=1");
        const QStringList disbursements = rows(book, "SELECT ETC FROM OPER WHERE TYP=2");
        QVERIFY(!receipts.isEmpty() && !disbursements.isEmpty());
        for (const QString& etc : receipts)
            QVERIFY2(etc.startsWith(QStringLiteral("DT=301\x01KT=")), qPrintable(etc));
        for (const QString& etc : disbursements)
            QVERIFY2(etc.startsWith(QStringLiteral("KT=")), qPrintable(etc));
    }
};

QTEST_MAIN(TestBookGenerator)
#include "test_book_generator.moc"
