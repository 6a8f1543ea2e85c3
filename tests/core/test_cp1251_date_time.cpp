#include "core/cp1251.h"
#include "core/date_time.h"
#include "core/exceptions.h"
#include "tests/support/core/exception_message.h"

#include <QTest>

class TestCp1251DateTime : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = cp1251::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(cp1251::encode(text), all);
    }

    void knownLetters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cyrillic") << QStringLiteral("Ааяё") << QByteArray("\xC0\xE0\xFF\xB8");
        QTest::newRow("ukrainian")
            << QStringLiteral("ЇїІіЄєҐґ") << QByteArray("\xAF\xBF\xB2\xB3\xAA\xBA\xA5\xB4");
        QTest::newRow("signs") << QStringLiteral("№€«»—") << QByteArray("\xB9\x88\xAB\xBB\x97");
    }
    void knownLetters() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(cp1251::encode(text), bytes);
        QCOMPARE(cp1251::decode(bytes), text);
    }

    void foreignCharacterIsRefused() {
        QVERIFY(!cp1251::canEncode(QStringLiteral("日本")));
        QVERIFY_THROWS_EXCEPTION(Exception, cp1251::encode(QStringLiteral("Да 日")));
        QVERIFY(cp1251::canEncode(QStringLiteral("Привет, мир!")));
    }

    // The first character that the code page cannot hold, named whole: an emoji is one
    // character of two surrogates, not U+D83D.
    void foreignCharacterIsNamedWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("name");
        QTest::newRow("emoji") << QStringLiteral("Касса 😀 日") << QStringLiteral("😀")
                               << QStringLiteral("\"😀\" (U+1F600)");
        QTest::newRow("CJK") << QStringLiteral("Да 日本") << QStringLiteral("日")
                             << QStringLiteral("\"日\" (U+65E5)");
        QTest::newRow("none") << QStringLiteral("Ёж № 5 €") << QString() << QString();
    }
    void foreignCharacterIsNamedWhole() {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, name);
        QCOMPARE(cp1251::firstForeignCharacter(text), first);
        QCOMPARE(cp1251::canEncode(text), first.isEmpty());
        if (first.isEmpty())
            return;
        QCOMPARE(cp1251::characterName(first), name);
        QCOMPARE(testsupport::messageOf([&] { cp1251::encode(text); }),
                 QStringLiteral("Символ %1 нельзя записать в кодировке Windows-1251").arg(name));
    }

    void dateTimeKeepsMilliseconds_data() {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<double>("days");
        QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
        QTest::newRow("2000-01-01") << QDateTime(QDate(2000, 1, 1), QTime(0, 0)) << 36526.0;
        QTest::newRow("noon") << QDateTime(QDate(2000, 1, 1), QTime(12, 0)) << 36526.5;
        QTest::newRow("end of day") << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999))
                                    << 45351.0 + 86399999.0 / 86400000.0;
    }
    void dateTimeKeepsMilliseconds() {
        QFETCH(QDateTime, value);
        QFETCH(double, days);
        QCOMPARE(datetime::encode(value), days);
        QCOMPARE(datetime::decode(days), value);
    }

    void endOfDayAndInjectedNow() {
        datetime::setNowForTesting([] { return 45351.25; });
        QCOMPARE(datetime::decode(datetime::endOfDay(datetime::now())).time(),
                 QTime(23, 59, 59, 999));
        QCOMPARE(datetime::dateOf(datetime::now()), 45351.0);
        datetime::setNowForTesting({});
        QVERIFY(datetime::now() > 45351.0);
    }
};

QTEST_GUILESS_MAIN(TestCp1251DateTime)
#include "test_cp1251_date_time.moc"
