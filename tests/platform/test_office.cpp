#include "platform/office.h"
#include "tests/support/platform/fake_office.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::fakeOfficeStarted;
using testsupport::putFakeOffice;

// The look-up of the office program in the folders of a search path.
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
};

QTEST_MAIN(TestOffice)
#include "test_office.moc"
