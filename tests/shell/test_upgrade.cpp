#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/ini_file.h"
#include "core/key_value_text.h"
#include "core/numbers.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/book_upgrade.h"
#include "shell/options_pane.h"
#include "shell/upgrade_window.h"
#include "store/data_store.h"
#include "store/upgrade_steps.h"
#include "tests/support/core/file_bytes.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"
#include "ui/guard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

using namespace schematest;

namespace {

const QStringList kVersions = {"2.08", "2.09", "2.10", "2.12", "2.16", "2.17"};

// Steps that record what they see instead of changing a schema: the book, the step's version,
// the book's "DBVersion" when the step starts and whether its "Reserv" backup exists by then.
// The step of failVersion fails once.
struct RecordingSteps {
    UpgradeSteps steps;
    QStringList calls;
    QString failVersion;
    RecordingSteps() {
        for (const QString& version : kVersions)
            steps.registerUpgrade(version, strToCurrDot(version), [this, version] {
                const QString path = DataStore::instance().database().path();
                const bool backup =
                    QFile::exists(DataStore::backupPath(path, QStringLiteral("Reserv")));
                calls << QStringLiteral("%1 %2 from '%3'%4")
                             .arg(QFileInfo(path).baseName(), version,
                                  DataStore::instance().options().option("DBVersion"),
                                  backup ? QString() : QStringLiteral(" without backup"));
                if (version == failVersion) {
                    failVersion.clear();
                    throw Exception(QStringLiteral("Сбой шага %1").arg(version));
                }
            });
    }
};

// Books that hold just the owner row, listed in the INI in the order made.
struct Books {
    Workplace place;
    int count = 0;
    QString add(const QString& name, const QString& version) {
        const QString path = place.path(name + ".fdb");
        fb::Attachment db;
        createDatabase(db, path);
        fb::Transaction tr(db);
        fb::Statement(tr, "CREATE TABLE PARTS (PRKEY INTEGER NOT NULL, "
                          "ETC BLOB SUB_TYPE 0 SEGMENT SIZE 80)")
            .execute();
        tr.commit();
        fb::Statement insert(tr, "INSERT INTO PARTS (PRKEY, ETC) VALUES (0, :ETC)");
        insert.param("ETC").setString(
            version.isNull() ? QString()
                             : setKeyValue("StoreCapt=" + name + "\x01", "DBVersion", version));
        insert.execute();
        tr.commit();
        ini().writeString("DB", QString("DatabasePath_%1").arg(count), path);
        ini().writeString("DB", QString("DatabaseCaption_%1").arg(count), name);
        ini().writeInteger("DB", "DatabaseCount", ++count);
        return path;
    }
    IniFile& ini() { return place.store().ini(); }
    QString programVersion() { return ini().readString("Version", "CurrVersion", "-"); }
    QString version(const QString& name) {
        fb::Attachment db;
        db.attach(place.path(name + ".fdb"));
        return getKeyValue(value(db, "SELECT ETC FROM PARTS WHERE PRKEY = 0"), "DBVersion");
    }
    bool backedUp(const QString& name) {
        return QFile::exists(
            DataStore::backupPath(place.path(name + ".fdb"), QStringLiteral("Reserv")));
    }
};

const QString kDone = "Обновление завершено.\n\nПерезапустите программу.";

// The database version the program needs, as the product would set it, for one test.
struct RequiredVersion {
    const QString saved = DataStore::requiredDatabaseVersion();
    explicit RequiredVersion(const QString& version) {
        DataStore::setRequiredDatabaseVersion(version);
    }
    ~RequiredVersion() { DataStore::setRequiredDatabaseVersion(saved); }
};

// The help file and the change list beside the test program, where the program finds its own;
// both gone again at the end.
struct BesideTheProgram {
    QString help = DataStore::instance().helpFile();
    QString changes = QCoreApplication::applicationDirPath() + "/Changes.txt";
    ~BesideTheProgram() {
        QDir(help).removeRecursively();
        QFile::remove(changes);
    }
    void write(const QString& path, const QString& text) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        testsupport::writeFile(path, text.toUtf8());
    }
};

} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT
private slots:
    void stepsAboveTheVersionReached_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("run");
        QTest::newRow("2.07") << "2.07" << kVersions;
        QTest::newRow("2.10") << "2.10" << QStringList{"2.12", "2.16", "2.17"};
        QTest::newRow("2.1 is 2.10") << "2.1" << QStringList{"2.12", "2.16", "2.17"};
        QTest::newRow("between steps") << "2.115" << QStringList{"2.12", "2.16", "2.17"};
        QTest::newRow("2.17") << "2.17" << QStringList{};
        QTest::newRow("2.18") << "2.18" << QStringList{};
    }
    void stepsAboveTheVersionReached() {
        QFETCH(QString, from);
        QFETCH(QStringList, run);
        UpgradeSteps steps;
        QStringList ran, stamps;
        for (const QString& version : kVersions)
            steps.registerUpgrade(version, strToCurrDot(version),
                                  [&ran, version] { ran << version; });
        const Currency reached = steps.runUpgrades(
            strToCurrDot(from), [&stamps](Currency v) { stamps << versionText(v); });
        QCOMPARE(ran, run);
        QCOMPARE(stamps, run);
        QCOMPARE(reached, run.isEmpty() ? strToCurrDot(from) : strToCurrDot(run.last()));
        QCOMPARE(steps.count(), 6);
        QCOMPARE(steps.caption(3), "2.12");
    }

    void versionTexts_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("two decimals") << "2.08"
                                      << "2.08";
        QTest::newRow("one decimal") << "2.1"
                                     << "2.10";
        QTest::newRow("three decimals") << "2.125"
                                        << "2.125";
        QTest::newRow("whole") << "3"
                               << "3.00";
    }
    void versionTexts() {
        QFETCH(QString, version);
        QFETCH(QString, text);
        QCOMPARE(versionText(strToCurrDot(version)), text);
    }

    // Each book goes from its own version; the INI's version only stands in where a book has
    // none; a current book is left alone and a newer one is named and kept as it is.
    void everyBookFromItsOwnVersion() {
        Dialogs dialogs;
        Books books;
        RecordingSteps recorder;
        books.add("A", "2.10");
        books.add("B", "2.17");
        books.add("C", QString());
        const QString newer = books.add("D", "2.19");
        books.add("E", "2.18");
        const QString unreadable = books.add("F", "2,1x");
        books.ini().writeString("Version", "CurrVersion", "2.12");
        books.ini().writeInteger("Startup", "NoStartupDialog", 1);
        UpgradeWindow form(recorder.steps);
        QCOMPARE(form.sourceVersionLabel()->text(), "2.12");
        QCOMPARE(form.targetVersionLabel()->text(), "2.18");
        form.beginButton()->click();

        QCOMPARE(recorder.calls,
                 (QStringList{"A 2.12 from '2.10'", "A 2.16 from '2.12'", "A 2.17 from '2.16'",
                              "C 2.16 from ''", "C 2.17 from '2.16'"}));
        for (const char* name : {"A", "B", "C", "E"})
            QCOMPARE(books.version(name), "2.18");
        QCOMPARE(books.version("D"), "2.19");
        QVERIFY(books.backedUp("B"));
        QCOMPARE(books.version("F"), "2,1x");
        QVERIFY(!books.backedUp("D") && !books.backedUp("E") && !books.backedUp("F"));
        QCOMPARE(dialogs.texts.size(), 3);
        QVERIFY(dialogs.texts[0].contains(newer) && dialogs.texts[0].contains("2.19"));
        QVERIFY(dialogs.texts[1].contains(unreadable) && dialogs.texts[1].contains("2,1x"));
        QCOMPARE(dialogs.texts[2], kDone);
        QCOMPARE(books.programVersion(), "2.18");
        QCOMPARE(books.ini().readString("Startup", "NoStartupDialog", "-"), "0");
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void failedStepStopsTheRunAndTheNextResumes() {
        Dialogs dialogs;
        Books books;
        RecordingSteps recorder;
        books.add("A", "2.10");
        books.add("B", "2.10");
        books.ini().writeString("Version", "CurrVersion", "2.10");
        recorder.failVersion = "2.16";
        {
            UpgradeWindow form(recorder.steps);
            form.beginButton()->click();
            QCOMPARE(form.result(), int(QDialog::Rejected));
        }
        QCOMPARE(recorder.calls, (QStringList{"A 2.12 from '2.10'", "A 2.16 from '2.12'"}));
        QCOMPARE(dialogs.texts, QStringList{"Сбой шага 2.16"});
        QCOMPARE(books.version("A"), "2.12");
        QCOMPARE(books.version("B"), "2.10");
        QCOMPARE(books.programVersion(), "2.10");

        recorder.calls.clear();
        UpgradeWindow form(recorder.steps);
        form.beginButton()->click();
        QCOMPARE(recorder.calls,
                 (QStringList{"A 2.16 from '2.12'", "A 2.17 from '2.16'", "B 2.12 from '2.10'",
                              "B 2.16 from '2.12'", "B 2.17 from '2.16'"}));
        QCOMPARE(books.version("A"), "2.18");
        QCOMPARE(books.version("B"), "2.18");
        QCOMPARE(books.programVersion(), "2.18");
    }

    void programVersionThatIsNoNumber() {
        Dialogs dialogs;
        Books books;
        RecordingSteps recorder;
        books.add("A", "2.10");
        books.ini().writeString("Version", "CurrVersion", "abc");
        UpgradeWindow form(recorder.steps);
        form.beginButton()->click();
        QCOMPARE(dialogs.texts, QStringList{"'abc' is not a valid floating point value"});
        QCOMPARE(dialogs.requests[0].icon, MessageIcon::Error);
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(recorder.calls.isEmpty());
        QCOMPARE(books.version("A"), "2.10");
        QCOMPARE(books.programVersion(), "abc");
    }

    void versionCheckAtStart_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("after");
        QTest::newRow("fresh machine") << QString() << false << false << "2.18";
        QTest::newRow("empty version, no book") << "" << false << false << "2.18";
        QTest::newRow("no version, listed books") << QString() << true << true << "-";
        QTest::newRow("same version") << "2.18" << true << false << "2.18";
        QTest::newRow("older version") << "2.10" << true << true << "2.10";
        QTest::newRow("other version") << "2.19" << false << true << "2.19";
    }
    void versionCheckAtStart() {
        QFETCH(QString, stored);
        QFETCH(bool, listed);
        QFETCH(bool, changed);
        QFETCH(QString, after);
        Books books;
        if (!stored.isNull())
            books.ini().writeString("Version", "CurrVersion", stored);
        if (listed)
            books.ini().writeInteger("DB", "DatabaseCount", 1);
        QCOMPARE(BookUpgrade::programVersionChanged(books.ini()), changed);
        QCOMPARE(books.programVersion(), after);
    }

    void openBookAtStart_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("messages");
        QTest::newRow("current") << "2.18" << Answer::Ok << true << QStringList{} << "2.18" << 0;
        QTest::newRow("no version") << "" << Answer::Ok << true << QStringList{} << "2.18" << 0;
        QTest::newRow("newer") << "2.19" << Answer::Ok << true << QStringList{} << "2.19" << 0;
        QTest::newRow("older, cancel")
            << "2.12" << Answer::Cancel << false << QStringList{} << "2.12" << 1;
        QTest::newRow("older, OK")
            << "2.12" << Answer::Ok << false
            << QStringList{"Open 2.16 from '2.12'", "Open 2.17 from '2.16'"} << "2.18" << 2;
    }
    void openBookAtStart() {
        QFETCH(QString, version);
        QFETCH(Answer, answer);
        QFETCH(bool, goesOn);
        QFETCH(QStringList, calls);
        QFETCH(QString, after);
        QFETCH(int, messages);
        Dialogs dialogs([answer](const DialogRequest&) { return DialogAnswer{answer, {}}; });
        Books books;
        RecordingSteps recorder;
        books.add("Other", "2.10");
        const QString open = books.add("Open", version);
        books.ini().writeString("Version", "CurrVersion", "2.18");
        books.place.store().reopenBook(ChosenBook(1, open));

        QCOMPARE(BookUpgrade(recorder.steps).upgradeOpenBookWhenOlder(), goesOn);
        QCOMPARE(recorder.calls, calls);
        QCOMPARE(books.version("Open"), after);
        QCOMPARE(books.version("Other"), "2.10");
        QCOMPARE(dialogs.texts.size(), messages);
        if (messages > 0) {
            QCOMPARE(dialogs.requests[0].caption, "Ошибка");
            QCOMPARE(dialogs.requests[0].buttons, Buttons::OkCancel);
            QCOMPARE(dialogs.requests[0].icon, MessageIcon::Warning);
            QCOMPARE(dialogs.texts[0], "Неверная версия базы данных!\nВерсия базы данных: 2.12\n"
                                       "Необходима версия: 2.18\n\nПроводить обновление базы "
                                       "данных?");
        }
        if (messages > 1)
            QCOMPARE(dialogs.texts[1], kDone);
    }

    // The version a book must reach is the one the product sets, not the program's own.
    void requiredVersionIsTheProducts() {
        const RequiredVersion required("2.19");
        Dialogs dialogs;
        Books books;
        RecordingSteps recorder;
        books.add("A", "2.17");
        books.add("B", "2.19");
        books.ini().writeString("Version", "CurrVersion", "2.17");
        UpgradeWindow form(recorder.steps);
        QCOMPARE(form.targetVersionLabel()->text(), "2.18");
        form.beginButton()->click();
        QVERIFY(recorder.calls.isEmpty());
        QCOMPARE(books.version("A"), "2.19");
        QCOMPARE(books.version("B"), "2.19");
        QVERIFY(books.backedUp("A") && !books.backedUp("B"));
        QCOMPARE(dialogs.texts, QStringList{kDone});

        // At start a book at the program's own version is older than the product needs.
        const QString open = books.add("Open", "2.18");
        books.place.store().reopenBook(ChosenBook(2, open));
        QVERIFY(!BookUpgrade(recorder.steps).upgradeOpenBookWhenOlder());
        QCOMPARE(dialogs.texts.size(), 3);
        QCOMPARE(dialogs.texts[1], "Неверная версия базы данных!\nВерсия базы данных: 2.18\n"
                                   "Необходима версия: 2.19\n\nПроводить обновление базы данных?");
        QCOMPARE(books.version("Open"), "2.19");
    }

    // There is no help file here: the change list beside the executable fills the memo.
    void changeListBesideTheProgram() {
        Books books;
        RecordingSteps recorder;
        const QString path = QCoreApplication::applicationDirPath() + "/Changes.txt";
        QVERIFY(!QFile::exists(path));
        {
            UpgradeWindow form(recorder.steps);
            QCOMPARE(form.versionInfoView()->toPlainText(), QString());
            QCOMPARE(form.windowTitle(), "Обновление программы");
            QCOMPARE(form.beginButton()->text(), "Начать обновление...");
        }
        for (const QByteArray& bytes : {cp1251::encode("Версия 2.18\r\n- новое"),
                                        QString("Версия 2.18\r\n- новое").toUtf8()}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
            UpgradeWindow form(recorder.steps);
            QFile::remove(path);
            QCOMPARE(form.versionInfoView()->toPlainText(), "Версия 2.18\n- новое");
        }
    }

    // The help file's topic of the upgrade takes the change list's place; a help file without
    // that topic leaves the change list.
    void updateTopicOfTheHelpFile_data() {
        QTest::addColumn<QString>("topic"); // what the help file holds; empty: no help file
        QTest::addColumn<bool>("shown");
        QTest::newRow("no help file") << "" << false;
        QTest::newRow("another topic") << "startup/whatsnew.htm" << false;
        QTest::newRow("the upgrade's topic") << "appendix/update.htm" << true;
    }
    void updateTopicOfTheHelpFile() {
        QFETCH(QString, topic);
        QFETCH(bool, shown);
        Books books;
        RecordingSteps recorder;
        BesideTheProgram beside;
        QVERIFY(!QFileInfo::exists(beside.help));
        beside.write(beside.changes, "Версия 2.18\r\n- новое");
        if (!topic.isEmpty())
            beside.write(beside.help + "/" + topic, "<html><body>Что нового в 2.18</body></html>");
        UpgradeWindow form(recorder.steps);
        QCOMPARE(form.updateTopicBrowser()->isVisibleTo(&form), shown);
        QCOMPARE(form.versionInfoView()->isVisibleTo(&form), !shown);
        if (shown)
            QCOMPARE(form.updateTopicBrowser()->toPlainText(), "Что нового в 2.18");
        else
            QCOMPARE(form.versionInfoView()->toPlainText(), "Версия 2.18\n- новое");
    }
};

QTEST_MAIN(TestUpgrade)
#include "test_upgrade.moc"
