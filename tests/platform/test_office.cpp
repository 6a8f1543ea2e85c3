#include "platform/office.h"
#include "tests/support/platform/fake_office.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>

using testsupport::fakeOfficeStarted;
using testsupport::putFakeOffice;

namespace {

// An environment of "NAME=value" entries.
QProcessEnvironment environmentOf(const QStringList& entries) {
    QProcessEnvironment environment;
    for (const QString& entry : entries)
        environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return environment;
}

} // namespace

// The look-up of the office program in the folders of a search path, and how the program
// gives it its files.
class TestOffice : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setOfficeSearchPath(QString()); }

    // folders: which of three folders, "e" empty, "o" with the program, "t" with a "soffice"
    // that is no executable, make the search path, in order.
    void foundInAnyFolderOfThePath_data() {
        QTest::addColumn<QString>("folders");
        QTest::addColumn<bool>("available");
        QTest::newRow("only folder") << "o" << true;
        QTest::newRow("last of three") << "eto" << true;
        QTest::newRow("first of two") << "oe" << true;
        QTest::newRow("none there") << "e" << false;
        QTest::newRow("not executable") << "te" << false;
        QTest::newRow("path without folders") << "" << false;
    }
    void foundInAnyFolderOfThePath() {
        QFETCH(QString, folders);
        QFETCH(bool, available);
        QTemporaryDir dir;
        QStringList path;
        for (int i = 0; i < folders.size(); ++i) {
            const QString folder = dir.filePath(QString::number(i));
            QVERIFY(QDir().mkpath(folder));
            if (folders[i] == u'o')
                putFakeOffice(folder);
            if (folders[i] == u't')
                testsupport::writeFile(QDir(folder).filePath("soffice"), "text");
            path << folder;
        }
        setOfficeSearchPath(path.isEmpty() ? QString(QDir::listSeparator())
                                           : path.join(QDir::listSeparator()));
        QCOMPARE(officeAvailable(), available);
        for (const QString& folder : path)
            QVERIFY(!fakeOfficeStarted(folder));
    }

    // The answer holds for the run: the program going away or coming is seen only after a new
    // search path is set.
    void lookedUpOncePerRun() {
        QTemporaryDir dir;
        putFakeOffice(dir.path());
        setOfficeSearchPath(dir.path());
        QVERIFY(officeAvailable());
        QVERIFY(QFile::remove(dir.filePath("soffice")));
        QVERIFY(officeAvailable());
        setOfficeSearchPath(dir.path());
        QVERIFY(!officeAvailable());
        putFakeOffice(dir.path());
        QVERIFY(!officeAvailable());
        setOfficeSearchPath(dir.path());
        QVERIFY(officeAvailable());
        QVERIFY(!fakeOfficeStarted(dir.path()));
    }

    // An empty search path means PATH.
    void anEmptySearchPathMeansPath() {
        QTemporaryDir dir;
        putFakeOffice(dir.path());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", dir.path().toLocal8Bit());
        setOfficeSearchPath(QString());
        const bool found = officeAvailable();
        qputenv("PATH", dir.filePath("none").toLocal8Bit());
        setOfficeSearchPath(QString());
        const bool foundInNone = officeAvailable();
        qputenv("PATH", path);
        QVERIFY(found);
        QVERIFY(!foundInNone);
        QVERIFY(!fakeOfficeStarted(dir.path()));
    }

    // LibreOffice's files are absolute, percent-encoded file URLs: letters outside ASCII,
    // spaces and the characters a URL gives a meaning of its own are escaped.
    void filesGoAsFileUrls_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("url");
        QTest::newRow("Cyrillic and a space")
            << "/tmp/Движение денег.xlsx"
            << "file:///tmp/%D0%94%D0%B2%D0%B8%D0%B6%D0%B5%D0%BD%D0%B8%D0%B5%20"
               "%D0%B4%D0%B5%D0%BD%D0%B5%D0%B3.xlsx";
        QTest::newRow("a hash, a percent sign, a question mark")
            << "/tmp/Акт #1 50%?.odt"
            << "file:///tmp/%D0%90%D0%BA%D1%82%20%231%2050%25%3F.odt";
        QTest::newRow("a folder") << "/tmp/kaltro-0/a b/"
                                  << "file:///tmp/kaltro-0/a%20b/";
        QTest::newRow("relative") << "Ордер.odt"
                                  << "file://" + QDir::currentPath() +
                                         "/%D0%9E%D1%80%D0%B4%D0%B5"
                                         "%D1%80.odt";
    }
    void filesGoAsFileUrls() {
        QFETCH(QString, path);
        QFETCH(QString, url);
        QCOMPARE(officeFileUrl(path), url);
    }

    // LibreOffice reads file names and URLs in the encoding of its locale: every locale this
    // machine lacks becomes "C.UTF-8", and so does a character type that is not UTF-8; the
    // rest of the environment stays, and a locale of LC_ALL that is not UTF-8 passes to LANG.
    void theCharacterTypeReadsUtf8_data() {
        QTest::addColumn<QStringList>("base");
        QTest::addColumn<QStringList>("given");
        const QString path = "PATH=/usr/bin:/bin";
        QTest::newRow("a UTF-8 LANG")
            << QStringList{path, "LANG=C.UTF-8"} << QStringList{path, "LANG=C.UTF-8"};
        QTest::newRow("an ASCII category of a UTF-8 LANG")
            << QStringList{path, "LANG=C.UTF-8", "LC_TIME=C"}
            << QStringList{path, "LANG=C.UTF-8", "LC_TIME=C"};
        QTest::newRow("a missing LANG")
            << QStringList{path, "LANG=xx_XX.UTF-8"} << QStringList{path, "LANG=C.UTF-8"};
        QTest::newRow("a UTF-8 LC_CTYPE over a missing LANG")
            << QStringList{path, "LANG=xx_XX.UTF-8", "LC_CTYPE=C.UTF-8"}
            << QStringList{path, "LANG=C.UTF-8", "LC_CTYPE=C.UTF-8"};
        QTest::newRow("a missing LC_CTYPE")
            << QStringList{path, "LANG=C.UTF-8", "LC_CTYPE=xx_XX.UTF-8"}
            << QStringList{path, "LANG=C.UTF-8", "LC_CTYPE=C.UTF-8"};
        QTest::newRow("a missing LC_MESSAGES")
            << QStringList{path, "LANG=C.UTF-8", "LC_MESSAGES=xx_XX.UTF-8"}
            << QStringList{path, "LANG=C.UTF-8", "LC_MESSAGES=C.UTF-8"};
        QTest::newRow("ASCII") << QStringList{path, "LANG=C"}
                               << QStringList{path, "LANG=C", "LC_CTYPE=C.UTF-8"};
        QTest::newRow("no locale") << QStringList{path} << QStringList{path, "LC_CTYPE=C.UTF-8"};
        QTest::newRow("a missing LC_ALL") << QStringList{path,
                                                         "LANG=C.UTF-8",
                                                         "LC_ALL=xx_XX.UTF-8",
                                                         "LC_CTYPE=C.UTF-8",
                                                         "LC_MESSAGES=C",
                                                         "LC_TERMINAL=xterm"}
                                          << QStringList{path, "LANG=C.UTF-8", "LC_TERMINAL=xterm"};
        QTest::newRow("an ASCII LC_ALL")
            << QStringList{path, "LANG=xx_XX.UTF-8", "LC_ALL=C", "LC_TIME=C.UTF-8"}
            << QStringList{path, "LANG=C", "LC_CTYPE=C.UTF-8"};
        QTest::newRow("a UTF-8 LC_ALL over a missing LANG")
            << QStringList{path, "LANG=xx_XX.UTF-8", "LC_ALL=C.UTF-8"}
            << QStringList{path, "LANG=C.UTF-8", "LC_ALL=C.UTF-8"};
    }
    void theCharacterTypeReadsUtf8() {
        QFETCH(QStringList, base);
        QFETCH(QStringList, given);
        const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (utf8 == locale_t(0))
            QSKIP("this machine has no locale C.UTF-8");
        freelocale(utf8);
        QStringList entries = officeEnvironment(environmentOf(base)).toStringList();
        entries.sort();
        given.sort();
        QCOMPARE(entries, given);
    }
};

QTEST_MAIN(TestOffice)
#include "test_office.moc"
