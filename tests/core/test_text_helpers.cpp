#include "core/exceptions.h"
#include "core/file_operations.h"
#include "core/key_value_text.h"
#include "core/month_names.h"
#include "core/numbers.h"
#include "core/text.h"
#include "tests/support/core/exception_message.h"
#include "tests/support/core/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using testsupport::messageOf;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// Records written with "|" for the record end U+0001.
QString r(const char* text) {
    return QString::fromUtf8(text).replace(u'|', QChar(kKeyValueRecordEnd));
}

} // namespace

class TestTextHelpers : public QObject {
    Q_OBJECT
private slots:
    void getKeyValueFindsExactKey_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("second record") << r("A=1|B=2|") << "B"
                                       << "2";
        QTest::newRow("case differs") << r("A=1|B=2|") << "b"
                                      << "";
        QTest::newRow("key with =") << r("A=1|B=2|") << "A="
                                    << "";
        QTest::newRow("longer key") << r("AB=1|") << "A"
                                    << "";
        QTest::newRow("shorter key") << r("A=1|") << "AB"
                                     << "";
        QTest::newRow("value holds =") << r("A=x=y|") << "A"
                                       << "x=y";
        QTest::newRow("unterminated") << r("A=1") << "A"
                                      << "";
        QTest::newRow("first of two") << r("A=1|A=2|") << "A"
                                      << "1";
        QTest::newRow("empty key") << r("B=1|=v|") << ""
                                   << "v";
        QTest::newRow("record without =") << r("junk|A=1|") << "A"
                                          << "1";
        QTest::newRow("no record named junk") << r("junk|A=1|") << "junk"
                                              << "";
        QTest::newRow("empty text") << QString() << "A"
                                    << "";
        QTest::newRow("cyrillic") << r("Валюта=грн.|") << "Валюта"
                                  << "грн.";
    }
    void getKeyValueFindsExactKey() {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(getKeyValue(text, key), value);
    }

    void setKeyValueLeavesOneRecord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");
        QTest::newRow("duplicates removed") << r("A=1|A=2|") << "A"
                                            << "3" << r("A=3|");
        QTest::newRow("moved to the end") << r("B=1|C=2|") << "B"
                                          << "5" << r("C=2|B=5|");
        QTest::newRow("spread duplicates") << r("A=1|B=2|A=3|") << "A"
                                           << "9" << r("B=2|A=9|");
        QTest::newRow("empty value kept") << QString() << "K"
                                          << "" << r("K=|");
        QTest::newRow("other case kept") << r("a=1|") << "A"
                                         << "2" << r("a=1|A=2|");
        QTest::newRow("malformed kept") << r("junk|A=1|") << "A"
                                        << "2" << r("junk|A=2|");
        QTest::newRow("tail closed") << r("abcd") << "K"
                                     << "1" << r("abcd|K=1|");
        QTest::newRow("record end dropped") << QString() << "K" << r("a|b") << r("K=ab|");
    }
    void setKeyValueLeavesOneRecord() {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, result);
        const QString written = setKeyValue(text, key, value);
        QCOMPARE(written, result);
        QCOMPARE(getKeyValue(written, key), QString(value).remove(QChar(kKeyValueRecordEnd)));
    }

    void setKeyValueKeepsOtherKeys() {
        QString text;
        text = setKeyValue(text, QStringLiteral("StoreCapt"), QStringLiteral("Касса №1"));
        text = setKeyValue(text, QStringLiteral("DBVersion"), QStringLiteral("2.18"));
        text = setKeyValue(text, QStringLiteral("StoreCapt"), QStringLiteral("Банк"));
        QCOMPARE(getKeyValue(text, QStringLiteral("StoreCapt")), QStringLiteral("Банк"));
        QCOMPARE(getKeyValue(text, QStringLiteral("DBVersion")), QStringLiteral("2.18"));
    }

    void setKeyValueRefusesBrokenKeys_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("=") << "A=B";
        QTest::newRow("record end") << r("A|");
    }
    void setKeyValueRefusesBrokenKeys() {
        QFETCH(QString, key);
        QVERIFY(!messageOf([&] { setKeyValue(r("A=1|"), key, QStringLiteral("x")); }).isEmpty());
    }

    // Another writer saved theirs after this one read base: this one's changes go over theirs,
    // and theirs keeps the rest.
    void mergeKeyValueChangesKeepsTheOtherWritersChanges_data() {
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("merged");
        QTest::newRow("nobody else wrote: mine as it is")
            << r("A=1|") << r("A=1|") << r("junk A=2|B=") << r("junk A=2|B=");
        QTest::newRow("different keys")
            << r("A=1|X=9|") << r("A=1|") << r("A=1|Y=5|") << r("A=1|X=9|Y=5|");
        QTest::newRow("theirs changed a key mine did not")
            << r("A=7|B=1|") << r("A=1|B=1|") << r("A=1|B=2|") << r("A=7|B=2|");
        QTest::newRow("both changed one key: mine wins")
            << r("A=7|") << r("A=1|") << r("A=3|") << r("A=3|");
        QTest::newRow("mine holds a dead copy of a key")
            << r("A=7|") << r("A=1|") << r("A=1|A=3|") << r("A=7|");
    }
    void mergeKeyValueChangesKeepsTheOtherWritersChanges() {
        QFETCH(QString, theirs);
        QFETCH(QString, base);
        QFETCH(QString, mine);
        QFETCH(QString, merged);
        QCOMPARE(mergeKeyValueChanges(theirs, base, mine), merged);
    }

    void posFromSearchesWithinRange_data() {
        QTest::addColumn<QString>("sub");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("pos");
        QTest::newRow("first") << "b"
                               << "abcb" << 1 << 4 << 2;
        QTest::newRow("from inside") << "b"
                                     << "abcb" << 3 << 4 << 4;
        QTest::newRow("none in range") << "b"
                                       << "abcb" << 3 << 3 << 2;
        QTest::newRow("not wholly inside") << "bc"
                                           << "abc" << 1 << 2 << 0;
        QTest::newRow("to past the end") << "abc"
                                         << "abc" << 1 << 10 << 1;
        QTest::newRow("empty sub") << ""
                                   << "abc" << 2 << 3 << 1;
    }
    void posFromSearchesWithinRange() {
        QFETCH(QString, sub);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, pos);
        QCOMPARE(posFrom(sub, text, from, to), pos);
    }

    void substrEqualsComparesExactly_data() {
        QTest::addColumn<QString>("sub");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("equal");
        QTest::newRow("equal") << "ab"
                               << "xaby" << 2 << 3 << true;
        QTest::newRow("longer stretch") << "ab"
                                        << "xaby" << 2 << 4 << false;
        QTest::newRow("case") << "AB"
                              << "xaby" << 2 << 3 << false;
        QTest::newRow("empty and empty") << ""
                                         << "abc" << 2 << 1 << true;
        QTest::newRow("empty and one") << ""
                                       << "abc" << 2 << 2 << false;
        QTest::newRow("past the end") << "cd"
                                      << "abc" << 3 << 4 << false;
    }
    void substrEqualsComparesExactly() {
        QFETCH(QString, sub);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, equal);
        QCOMPARE(substrEquals(sub, text, from, to), equal);
    }

    void strToCurrDotReadsAmounts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("units");
        QTest::newRow("version") << "C"
                                 << "2.18" << qint64(21800);
        QTest::newRow("russian locale, dot") << "ru_RU"
                                             << "2.18" << qint64(21800);
        QTest::newRow("russian locale, comma") << "ru_RU"
                                               << "2,18" << qint64(21800);
        QTest::newRow("blanks") << "C"
                                << " 2.1 " << qint64(21000);
        QTest::newRow("whole") << "C"
                               << "3" << qint64(30000);
        QTest::newRow("negative") << "C"
                                  << "-0.5" << qint64(-5000);
        QTest::newRow("no whole part") << "C"
                                       << ".5" << qint64(5000);
        QTest::newRow("no fraction") << "C"
                                     << "2." << qint64(20000);
        QTest::newRow("fifth decimal rounds up") << "C"
                                                 << "1.23456" << qint64(12346);
        QTest::newRow("fifth decimal rounds down") << "C"
                                                   << "1.23454" << qint64(12345);
        QTest::newRow("largest") << "C"
                                 << "922337203685477.5807" << std::numeric_limits<qint64>::max();
    }
    void strToCurrDotReadsAmounts() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(qint64, units);
        QLocale::setDefault(QLocale(locale));
        const Currency value = strToCurrDot(text);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(value.units, units);
    }

    void strToCurrDotRejects_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "abc";
        QTest::newRow("two points") << "2.1.8";
        QTest::newRow("comma in C locale") << "1,5";
        QTest::newRow("sign alone") << "-";
        QTest::newRow("point alone") << ".";
        QTest::newRow("exponent") << "1e3";
        QTest::newRow("inner blank") << "2 18";
        QTest::newRow("too large") << "922337203685478";
    }
    void strToCurrDotRejects() {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(ConvertError, strToCurrDot(text));
    }

    void versionsCompareAsFixedPoint() {
        QVERIFY(strToCurrDot(QStringLiteral("2.18")) > strToCurrDot(QStringLiteral("2.17")));
        QVERIFY(strToCurrDot(QStringLiteral("2.18")) > strToCurrDot(QStringLiteral("2.1")));
        QVERIFY(strToCurrDot(QStringLiteral("2.10")) == strToCurrDot(QStringLiteral("2.1")));
        QVERIFY(strToCurrDot(QStringLiteral("2.09")) < strToCurrDot(QStringLiteral("2.1")));
    }

    void monthNames_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("ru");
        QTest::addColumn<QString>("genRu");
        QTest::addColumn<QString>("ua");
        QTest::addColumn<QString>("genUa");
        QTest::newRow("january") << 1 << "январь"
                                 << "января"
                                 << "січень"
                                 << "січня";
        QTest::newRow("may") << 5 << "май"
                             << "мая"
                             << "травень"
                             << "травня";
        QTest::newRow("november") << 11 << "ноябрь"
                                  << "ноября"
                                  << "листопад"
                                  << "листопада";
        QTest::newRow("december") << 12 << "декабрь"
                                  << "декабря"
                                  << "грудень"
                                  << "грудня";
    }
    void monthNames() {
        QFETCH(int, month);
        QFETCH(QString, ru);
        QFETCH(QString, genRu);
        QFETCH(QString, ua);
        QFETCH(QString, genUa);
        // Late in the last day of the month, so that the time of day cannot shift it.
        const QDate first(2024, month, 1);
        const DateTime date =
            datetime::encode(QDate(2024, month, first.daysInMonth()), QTime(23, 59, 59, 999));
        QCOMPARE(monthNameRU(date), ru);
        QCOMPARE(monthNameGenRU(date), genRu);
        QCOMPARE(monthNameUA(date), ua);
        QCOMPARE(monthNameGenUA(date), genUa);
    }

    void stringReplaceAllRepeatsUntilGone_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("run of four") << "aa"
                                     << "a"
                                     << "xaaaax"
                                     << "xax";
        QTest::newRow("formed with the neighbour") << "ab"
                                                   << "b"
                                                   << "aaab"
                                                   << "b";
        QTest::newRow("both dots removed") << "."
                                           << ""
                                           << "Kaltro.1.fdb"
                                           << "Kaltro1fdb";
        QTest::newRow("dot to comma") << "."
                                      << ","
                                      << "2.18"
                                      << "2,18";
        QTest::newRow("absent") << "x"
                                << "y"
                                << "none"
                                << "none";
        QTest::newRow("empty pattern") << ""
                                       << "x"
                                       << "abc"
                                       << "abc";
    }
    void stringReplaceAllRepeatsUntilGone() {
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(stringReplaceAll(pattern, replacement, text), result);
    }

    void stringReplaceAllRefusesEndlessReplacement_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::newRow("same") << "a"
                              << "a";
        QTest::newRow("grows around it") << "a"
                                         << "bab";
    }
    void stringReplaceAllRefusesEndlessReplacement() {
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        // Refused even when the text does not hold the pattern: the call itself is wrong.
        QVERIFY(!messageOf([&] {
                     stringReplaceAll(pattern, replacement, QStringLiteral("xyz"));
                 }).isEmpty());
        QVERIFY(!messageOf([&] {
                     stringReplaceAll(pattern, replacement, QStringLiteral("a"));
                 }).isEmpty());
    }

    void copyFolderCopiesTreeAndReplacesFiles() {
        QTemporaryDir tmp;
        const QString src = tmp.filePath(QStringLiteral("Reserv"));
        const QString dst = tmp.filePath(QStringLiteral("Extra"));
        QVERIFY(QDir().mkpath(src + QStringLiteral("/Week/Old")));
        QVERIFY(QDir().mkpath(src + QStringLiteral("/Empty")));
        QVERIFY(QDir().mkpath(dst + QStringLiteral("/Week")));
        writeFile(src + QStringLiteral("/Kaltro1.gbk"), QByteArray("new\0bytes", 9));
        writeFile(src + QStringLiteral("/.hidden"), "h");
        writeFile(src + QStringLiteral("/Week/Old/Kaltro1.gbk"), "week");
        writeFile(dst + QStringLiteral("/Kaltro1.gbk"), "old and longer content");
        writeFile(dst + QStringLiteral("/Other.txt"), "stays");

        copyFolder(src, dst + u'/');

        QCOMPARE(readFile(dst + QStringLiteral("/Kaltro1.gbk")), QByteArray("new\0bytes", 9));
        QCOMPARE(readFile(dst + QStringLiteral("/.hidden")), QByteArray("h"));
        QCOMPARE(readFile(dst + QStringLiteral("/Week/Old/Kaltro1.gbk")), QByteArray("week"));
        QCOMPARE(readFile(dst + QStringLiteral("/Other.txt")), QByteArray("stays"));
        QVERIFY(QFileInfo(dst + QStringLiteral("/Empty")).isDir());
    }

    void copyFolderEmptySource() {
        QTemporaryDir tmp;
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("a"))));
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("b"))));
        copyFolder(tmp.filePath(QStringLiteral("a/")), tmp.filePath(QStringLiteral("b")));
        QVERIFY(QDir(tmp.filePath(QStringLiteral("b"))).isEmpty());
    }

    void copyFolderErrors() {
        QTemporaryDir tmp;
        const QString src = tmp.filePath(QStringLiteral("src/"));
        const QString dst = tmp.filePath(QStringLiteral("dst/"));
        const QString missing = tmp.filePath(QStringLiteral("missing/"));
        QVERIFY(QDir().mkpath(src + QStringLiteral("sub")));
        QVERIFY(QDir().mkpath(dst));
        writeFile(src + QStringLiteral("sub/a.txt"), "a");

        QCOMPARE(messageOf([&] { copyFolder(missing, dst); }),
                 QStringLiteral("Не удается скопировать каталог: \"%1\"").arg(missing));

        // A file stands where the folder must be made.
        writeFile(dst + QStringLiteral("sub"), "file");
        QCOMPARE(messageOf([&] { copyFolder(src, dst); }),
                 QStringLiteral("Не удается создать каталог: \"%1sub\"").arg(dst));

        // A folder stands where the file must be copied.
        QVERIFY(QFile::remove(dst + QStringLiteral("sub")));
        QVERIFY(QDir().mkpath(dst + QStringLiteral("sub/a.txt")));
        QCOMPARE(messageOf([&] { copyFolder(src, dst); }),
                 QStringLiteral("Не удается скопировать файл: \"%1sub/a.txt\" -> \"%2sub/a.txt\"\n"
                                "На этом месте находится каталог\n"
                                "Закройте все программы, перезагрузите компьютер и попробуйте "
                                "еще раз!")
                     .arg(src, dst));
    }

    void runAndWaitGivesExitCode_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("exit code") << "sh" << QStringList{"-c", "exit 3"} << 3;
        QTest::newRow("success") << "true" << QStringList{} << 0;
        QTest::newRow("argument with blanks stays one")
            << "sh" << QStringList{"-c", "test \"$1\" = 'a b && c'", "sh", "a b && c"} << 0;
        QTest::newRow("no such program") << "/nonexistent/kaltro-no-program" << QStringList{} << -1;
        QTest::newRow("no program") << "" << QStringList{} << -1;
        QTest::newRow("killed") << "sh" << QStringList{"-c", "kill -9 $$"} << -1;
    }
    void runAndWaitGivesExitCode() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QCOMPARE(runAndWait(program, arguments), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "test_text_helpers.moc"
