#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/ini_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray cp(const char* utf8) {
    return cp1251::encode(QString::fromUtf8(utf8));
}

// A temporary folder with one INI file in it.
struct Fixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kaltro.ini"));
    IniFile ini{path};
    explicit Fixture(const QByteArray& content = QByteArray()) {
        if (!content.isNull())
            writeAll(path, content);
    }
};

} // namespace

class TestIni : public QObject {
    Q_OBJECT
private slots:
    void namesMatchCaseInsensitively() {
        Fixture f("[DB]\r\nDatabaseCount=2\r\nDatabasePath_0=/srv/Kaltro1.fdb\r\n");
        QCOMPARE(f.ini.readString("db", "DATABASECOUNT", "x"), QStringLiteral("2"));
        QCOMPARE(f.ini.readString(" Db ", " databasepath_0 ", "x"),
                 QStringLiteral("/srv/Kaltro1.fdb"));
        f.ini.writeInteger("dB", "databasecount", 3);
        QCOMPARE(readAll(f.path),
                 QByteArray("[DB]\r\ndatabasecount=3\r\nDatabasePath_0=/srv/Kaltro1.fdb\r\n"));
        QVERIFY(f.ini.valueExists("DB", "DATABASEPATH_0"));
        QVERIFY(f.ini.sectionExists("db"));
    }

    void valuesAreRaw_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes and backslashes")
            << QByteArray("K=\"C:\\Data\\a b\"") << "\"C:\\Data\\a b\"";
        QTest::newRow("commas") << QByteArray("K=a,b,c") << "a,b,c";
        QTest::newRow("semicolon and =") << QByteArray("K=a;b=c") << "a;b=c";
        QTest::newRow("escapes stay") << QByteArray("K=a\\nb\\x41") << "a\\nb\\x41";
        QTest::newRow("blanks around") << QByteArray("  K =  v w  ") << "v w";
        QTest::newRow("empty") << QByteArray("K=") << "";
    }
    void valuesAreRaw() {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        Fixture f("[S]\n" + line + "\n");
        QCOMPARE(f.ini.readString("S", "K", "default"), value);
        QVERIFY(f.ini.valueExists("S", "K"));

        // Written back as it is, and read back the same.
        Fixture g;
        g.ini.writeString("S", "K", value);
        QCOMPARE(readAll(g.path), QByteArray("[S]\nK=") + value.toLatin1() + "\n");
        QCOMPARE(g.ini.readString("S", "K", "default"), value);
    }

    void unknownLinesSurviveWrites() {
        const QByteArray before = "; made by hand\r\n"
                                  "loose text\r\n"
                                  "[DB]\r\n"
                                  "; the list\r\n"
                                  "DatabaseCount=1\r\n"
                                  "a line without equals\r\n"
                                  "\r\n"
                                  "[Other]\r\n"
                                  "X=1\r\n";
        Fixture f(before);
        f.ini.writeString("DB", "DatabaseCount", "2");
        f.ini.writeString("DB", "DatabasePath_1", "/srv/b.fdb");
        f.ini.writeString("Logon", "LastUser", "10001");
        QCOMPARE(readAll(f.path), QByteArray("; made by hand\r\n"
                                             "loose text\r\n"
                                             "[DB]\r\n"
                                             "; the list\r\n"
                                             "DatabaseCount=2\r\n"
                                             "a line without equals\r\n"
                                             "DatabasePath_1=/srv/b.fdb\r\n"
                                             "\r\n"
                                             "[Other]\r\n"
                                             "X=1\r\n"
                                             "[Logon]\r\n"
                                             "LastUser=10001\r\n"));
        QCOMPARE(f.ini.readSection("DB"), (QStringList{"DatabaseCount", "DatabasePath_1"}));
    }

    void everyReadReadsTheFile() {
        Fixture f("[Version]\nCurrVersion=2.17\n");
        IniFile other(f.path);
        QCOMPARE(f.ini.readString("Version", "CurrVersion", ""), QStringLiteral("2.17"));
        other.writeString("Version", "CurrVersion", "2.18");
        QCOMPARE(f.ini.readString("Version", "CurrVersion", ""), QStringLiteral("2.18"));
        writeAll(f.path, "[Version]\nCurrVersion=3.00\n");
        QCOMPARE(f.ini.readString("Version", "CurrVersion", ""), QStringLiteral("3.00"));
    }

    void writeReplacesTheFileWhole() {
        Fixture f("[DB]\nDatabaseCount=1\n");
        QFile old(f.path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        f.ini.writeString("DB", "DatabaseCaption_0", "Касса");
        // The open handle still sees the old file: the new one took its place, nothing was
        // written into it.
        QCOMPARE(old.readAll(), QByteArray("[DB]\nDatabaseCount=1\n"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"kaltro.ini"});
    }

    void windows1251OnDisk() {
        Fixture f;
        f.ini.writeString("DB", "DatabaseCaption_0", QStringLiteral("Касса «Центр» №1"));
        QCOMPARE(readAll(f.path), "[DB]\n" + cp("DatabaseCaption_0=Касса «Центр» №1") + "\n");
        QCOMPARE(f.ini.readString("DB", "DatabaseCaption_0", ""),
                 QStringLiteral("Касса «Центр» №1"));
    }

    void characterOutsideWindows1251IsRefused() {
        const QByteArray before = "[DB]\nDatabaseCaption_0=old\n";
        Fixture f(before);
        QVERIFY_THROWS_EXCEPTION(
            Exception, f.ini.writeString("DB", "DatabaseCaption_0", QStringLiteral("日本")));
        QCOMPARE(readAll(f.path), before);
    }

    void encodingsRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("windows-1251") << QByteArray("[DB]\r\n" + cp("DatabaseCaption_0=Банк Ї"));
        QTest::newRow("utf-8") << QByteArray("[DB]\nDatabaseCaption_0=Банк Ї");
        QTest::newRow("utf-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[DB]\nDatabaseCaption_0=Банк Ї\n");
    }
    void encodingsRead() {
        QFETCH(QByteArray, bytes);
        Fixture f(bytes);
        QCOMPARE(f.ini.readString("DB", "DatabaseCaption_0", ""), QStringLiteral("Банк Ї"));
    }

    void utf8FileIsSavedAsWindows1251() {
        Fixture f("; Комментарий\n[DB]\nDatabaseCaption_0=Банк\n");
        f.ini.writeString("DB", "DatabaseCount", "1");
        QCOMPARE(readAll(f.path),
                 cp("; Комментарий\n[DB]\nDatabaseCaption_0=Банк\nDatabaseCount=1\n"));
    }

    void booleans_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("whenDefaultFalse");
        QTest::addColumn<bool>("whenDefaultTrue");
        QTest::newRow("0") << QByteArray("Backup=0") << false << false;
        QTest::newRow("1") << QByteArray("Backup=1") << true << true;
        QTest::newRow("-1") << QByteArray("Backup=-1") << true << true;
        QTest::newRow("5") << QByteArray("Backup=5") << true << true;
        QTest::newRow("blanks") << QByteArray("Backup= 0 ") << false << false;
        QTest::newRow("empty") << QByteArray("Backup=") << false << true;
        QTest::newRow("word") << QByteArray("Backup=false") << false << true;
        QTest::newRow("missing") << QByteArray("Other=0") << false << true;
    }
    void booleans() {
        QFETCH(QByteArray, content);
        QFETCH(bool, whenDefaultFalse);
        QFETCH(bool, whenDefaultTrue);
        Fixture f("[DB]\n" + content + "\n");
        QCOMPARE(f.ini.readBool("DB", "Backup", false), whenDefaultFalse);
        QCOMPARE(f.ini.readBool("DB", "Backup", true), whenDefaultTrue);
    }

    void booleansAndIntegersWritten() {
        Fixture f;
        f.ini.writeBool("Startup", "A", true);
        f.ini.writeBool("Startup", "B", false);
        f.ini.writeInteger("Startup", "C", -1);
        QCOMPARE(readAll(f.path), QByteArray("[Startup]\nA=1\nB=0\nC=-1\n"));
        QCOMPARE(f.ini.readInteger("Startup", "C", 7), -1);
        QCOMPARE(f.ini.readInteger("Startup", "D", 7), 7);
        f.ini.writeString("Startup", "D", "12abc");
        QCOMPARE(f.ini.readInteger("Startup", "D", 7), 7);
    }

    void sections() {
        Fixture f("[DB]\nA=1\nB=2\na=3\n[Empty]\n; nothing\n[Other]\nX=1\n[db]\nC=4\n");
        QCOMPARE(f.ini.readSection("DB"), (QStringList{"A", "B"}));
        QVERIFY(f.ini.sectionExists("Other"));
        QVERIFY(!f.ini.sectionExists("Empty"));
        QVERIFY(!f.ini.sectionExists("Missing"));
        QVERIFY(f.ini.readSection("Missing").isEmpty());
        // The first section of a name counts.
        QVERIFY(!f.ini.valueExists("DB", "C"));

        f.ini.deleteKey("db", "a");
        QCOMPARE(readAll(f.path),
                 QByteArray("[DB]\nB=2\n[Empty]\n; nothing\n[Other]\nX=1\n[db]\nC=4\n"));
        f.ini.eraseSection("DB");
        QCOMPARE(readAll(f.path), QByteArray("[Empty]\n; nothing\n[Other]\nX=1\n"));
        f.ini.eraseSection("Missing");
        f.ini.deleteKey("Other", "Missing");
        QCOMPARE(readAll(f.path), QByteArray("[Empty]\n; nothing\n[Other]\nX=1\n"));
    }

    void missingFileReadsDefaults() {
        Fixture f;
        QCOMPARE(f.ini.readString("DB", "DatabasePath_0", "none"), QStringLiteral("none"));
        QVERIFY(!f.ini.sectionExists("DB"));
        f.ini.deleteKey("DB", "X");
        f.ini.eraseSection("DB");
        QVERIFY(!QFile::exists(f.path));
    }

    void namesAndValuesThatWouldNotReadBackAreRefused_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("section with ]") << "a]b"
                                        << "K"
                                        << "v";
        QTest::newRow("section with line break") << "a\nb"
                                                 << "K"
                                                 << "v";
        QTest::newRow("key with =") << "S"
                                    << "a=b"
                                    << "v";
        QTest::newRow("empty key") << "S"
                                   << " "
                                   << "v";
        QTest::newRow("comment key") << "S"
                                     << ";K"
                                     << "v";
        QTest::newRow("section-like key") << "S"
                                          << "[K]"
                                          << "v";
        QTest::newRow("value with line break") << "S"
                                               << "K"
                                               << "a\r\n[X]";
    }
    void namesAndValuesThatWouldNotReadBackAreRefused() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray before = "[S]\nK=old\n";
        Fixture f(before);
        QVERIFY_THROWS_EXCEPTION(Exception, f.ini.writeString(section, key, value));
        QCOMPARE(readAll(f.path), before);
    }

    void writesOfTwoCopiesAtOnceAreAllKept() {
        Fixture f("[Other]\r\nKept=1\r\n");
        const int count = 50;
        QProcess first, second;
        first.start(QStringLiteral(INI_WRITER), {f.path, "A", QString::number(count)});
        second.start(QStringLiteral(INI_WRITER), {f.path, "B", QString::number(count)});
        for (QProcess* copy : {&first, &second}) {
            QVERIFY(copy->waitForFinished(120000));
            QVERIFY2(copy->exitStatus() == QProcess::NormalExit && copy->exitCode() == 0,
                     copy->readAllStandardError().constData());
        }
        QStringList expected;
        for (const QString prefix : {"A", "B"})
            for (int i = 0; i < count; ++i)
                expected << prefix + QString::number(i);
        QStringList keys = f.ini.readSection("Writers");
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
        QCOMPARE(f.ini.readInteger("Writers", "B49", -1), 49);
        QCOMPARE(f.ini.readString("Other", "Kept", ""), QStringLiteral("1"));
        QVERIFY(!QFile::exists(f.path + ".lock"));
    }

    void lockHoldsOverSeveralWrites() {
        Fixture f;
        {
            const IniFile::Lock lock(f.ini);
            const IniFile::Lock inner(f.ini);
            f.ini.writeInteger("DB", "DatabaseCount", 1);
            f.ini.writeString("DB", "DatabasePath_0", "/books/a.fdb");
            f.ini.deleteKey("DB", "DatabasePath_0");
            QVERIFY(QFile::exists(f.path + ".lock"));
        }
        QVERIFY(!QFile::exists(f.path + ".lock"));
        IniFile(f.path).writeInteger("DB", "DatabaseCount", 2);
        QCOMPARE(f.ini.readString("DB", "DatabaseCount", ""), QStringLiteral("2"));
        QVERIFY(!f.ini.valueExists("DB", "DatabasePath_0"));
    }

    void writeIntoMissingFolderFails() {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("no/such/kaltro.ini")));
        QVERIFY_THROWS_EXCEPTION(Exception, ini.writeString("DB", "DatabaseCount", "0"));
    }

    void programIniBesideTheExecutable() {
        QTemporaryDir dir;
        const QString exe = dir.filePath(QStringLiteral("kaltro"));
        QCOMPARE(iniPathFor(exe, dir.filePath(QStringLiteral("config"))),
                 exe + QStringLiteral(".ini"));
    }

    void programIniInConfigFolderWhenExecutableFolderIsNotWritable() {
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("config/kaltro"));
        const QString exe = dir.filePath(QStringLiteral("missing/kaltro"));
        QCOMPARE(iniPathFor(exe, config), config + QStringLiteral("/kaltro.ini"));
        QVERIFY(QFileInfo(config).isDir());
        IniFile ini(iniPathFor(exe, config));
        ini.writeString("Logon", "LastUser", "10000");
        QCOMPARE(ini.readInteger("Logon", "LastUser", -1), 10000);
    }

    void configFolderStartsFromTheIniBesideTheExecutable() {
        if (geteuid() == 0)
            QSKIP("every folder is writable for root");
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        writeAll(bin + QStringLiteral("/kaltro.ini"), "[DB]\nDatabaseCount=1\n");
        QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        const QString config = dir.filePath(QStringLiteral("config"));
        const QString path = iniPathFor(bin + QStringLiteral("/kaltro"), config);
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(path, config + QStringLiteral("/kaltro.ini"));
        QCOMPARE(IniFile(path).readInteger("DB", "DatabaseCount", 0), 1);
    }
};

QTEST_MAIN(TestIni)
#include "test_ini_file.moc"
