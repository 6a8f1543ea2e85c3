#include "core/exceptions.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/services.h"
#include "store/data_store.h"
#include "store/default_templates.h"
#include "store/new_book.h"
#include "tests/support/core/small_file_system.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/store/store_notices.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace schematest;
using testsupport::SmallFileSystem;

namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putUInt(QByteArray& out, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A zip archive of stored members (no CRC: the kind of a template needs none).
QByteArray zip(const QList<QPair<QByteArray, QByteArray>>& members) {
    QByteArray out, directory;
    for (const auto& [name, content] : members) {
        const quint32 offset = quint32(out.size());
        putUInt(out, 0x04034b50, 4);
        putUInt(out, 20, 2);
        putUInt(out, 0, 2);
        putUInt(out, 0, 2); // stored
        putUInt(out, 0, 4);
        putUInt(out, 0, 4);
        putUInt(out, quint32(content.size()), 4);
        putUInt(out, quint32(content.size()), 4);
        putUInt(out, quint32(name.size()), 2);
        putUInt(out, 0, 2);
        out += name + content;
        putUInt(directory, 0x02014b50, 4);
        putUInt(directory, 20, 2);
        putUInt(directory, 20, 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 4);
        putUInt(directory, 0, 4);
        putUInt(directory, quint32(content.size()), 4);
        putUInt(directory, quint32(content.size()), 4);
        putUInt(directory, quint32(name.size()), 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 2);
        putUInt(directory, 0, 4);
        putUInt(directory, offset, 4);
        directory += name;
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    putUInt(out, 0x06054b50, 4);
    putUInt(out, 0, 4);
    putUInt(out, quint32(members.size()), 2);
    putUInt(out, quint32(members.size()), 2);
    putUInt(out, quint32(directory.size()), 4);
    putUInt(out, directoryOffset, 4);
    putUInt(out, 0, 2);
    return out;
}

// A copy of the program making a cash-desk book, held while it reads one of its templates (a
// pipe that the test holds open): its unfinished file lies in the folder until it is killed.
class HeldCreation {
public:
    ~HeldCreation() {
        if (m_copy.state() != QProcess::NotRunning)
            kill();
    }

    // Starts the copy on the INI file and the folder; true once it reads the held template.
    bool start(const QString& ini, const QString& folder) {
        const QString held = QStringLiteral("Приходный кассовый ордер (Украина).doc");
        for (const QString& file : QDir(templatesFolder()).entryList(QDir::Files))
            if (file != held && !QFile::copy(QDir(templatesFolder()).filePath(file),
                                             QDir(m_templates.path()).filePath(file)))
                return false;
        const QByteArray pipe = QFile::encodeName(QDir(m_templates.path()).filePath(held));
        if (::mkfifo(pipe.constData(), 0600) != 0 || !QDir().mkpath(folder))
            return false;
        m_copy.setProcessChannelMode(QProcess::ForwardedChannels);
        m_copy.start(QStringLiteral(STORE_COPY), {"new-book", ini, folder, m_templates.path()});
        if (!m_copy.waitForStarted())
            return false;
        // The pipe opens for writing once the other program reads it.
        QDeadlineTimer deadline(60000);
        while ((m_pipe = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0) {
            if (deadline.hasExpired() || m_copy.state() == QProcess::NotRunning)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    // Kills the copy as a crash would; true when it is gone so.
    bool kill() {
        const bool killed = ::kill(pid_t(m_copy.processId()), SIGKILL) == 0 &&
                            m_copy.waitForFinished() && m_copy.exitStatus() == QProcess::CrashExit;
        if (m_pipe >= 0)
            ::close(m_pipe);
        m_pipe = -1;
        return killed;
    }

private:
    QTemporaryDir m_templates;
    QProcess m_copy;
    int m_pipe = -1;
};

} // namespace

class TestNewDatabase : public QObject {
    Q_OBJECT
private slots:
    void nextFileName_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty folder") << QStringList{} << "Kaltro1.fdb";
        QTest::newRow("gap and a word")
            << QStringList{"Kaltro1.fdb", "Kaltro7.fdb", "KaltroOld.fdb"} << "Kaltro8.fdb";
        QTest::newRow("numbers, not text order")
            << QStringList{"Kaltro9.fdb", "Kaltro12.fdb"} << "Kaltro13.fdb";
        QTest::newRow("other names") << QStringList{"Kaltro5.gbk", "Other3.fdb"} << "Kaltro1.fdb";
    }
    void nextFileName() {
        QFETCH(QStringList, files);
        QFETCH(QString, next);
        QTemporaryDir dir;
        for (const QString& name : files)
            touch(dir.filePath(name));
        QCOMPARE(nextDatabaseFileName(dir.path()), QDir(dir.path()).filePath(next));
    }

    void defaultTemplateRows() {
        const QList<TemplateRow> bank = defaultPrintFormRows(int(BookKind::BankAccount));
        const QList<TemplateRow> cash = defaultPrintFormRows(int(BookKind::CashDesk));
        QCOMPARE(bank.size(), 16);
        QCOMPARE(cash.size(), 8);
        QVERIFY(defaultPrintFormRows(2).isEmpty());
        for (int i = 0; i < 16; ++i)
            QCOMPARE(bank[i].key, i + 1);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(cash[i].key, i + 17);
        for (const TemplateRow& row : bank + cash) {
            QVERIFY2(QFile::exists(QDir(templatesFolder()).filePath(row.fileName)),
                     qPrintable(row.fileName));
            QVERIFY(row.fileName.endsWith("." + row.ext));
            QCOMPARE(row.ext, row.key <= 8 || (row.key >= 17 && row.key <= 20) ? "doc" : "odt");
        }
        auto text = [](const TemplateRow& r) {
            return QString("%1|%2|%3|%4").arg(r.key).arg(r.docType).arg(r.name, r.fileName);
        };
        QCOMPARE(text(bank[0]), "1|1|Платежное поручение (Украина) 2 экземпляра на 1 листе|"
                                "Платежное поручение (2 экз) (Украина).doc");
        QCOMPARE(text(bank[3]), "4|2|Платежное поручение (Украина) 3 экземпляра на 2 листах|"
                                "Платежное поручение (3 экз) (Украина).doc");
        QCOMPARE(text(bank[4]), "5|1|Платежное поручение (Россия) 2 экземпляра на 2 листах|"
                                "Платежное поручение (2 экз) (Россия).doc");
        QCOMPARE(text(bank[15]), "16|2|Платежное поручение (Россия) 3 экземпляра на 3 листах|"
                                 "Платежное поручение (3 экз) (Россия).odt");
        QCOMPARE(text(cash[1]), "18|2|Расходный кассовый ордер (Украина)|"
                                "Расходный кассовый ордер (Украина).doc");
        QCOMPARE(text(cash[6]), "23|1|Приходный кассовый ордер (Россия)|"
                                "Приходный кассовый ордер (Россия).odt");
    }

    void templateKindFromContent_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("ext");
        const QString odt =
            QDir(templatesFolder()).filePath("Приходный кассовый ордер (Россия).odt");
        const QString doc =
            QDir(templatesFolder()).filePath("Приходный кассовый ордер (Россия).doc");
        QVERIFY(fileBytes(doc).size() > 1000 && fileBytes(odt).size() > 1000);
        QTest::newRow("word document") << fileBytes(doc) << "doc";
        QTest::newRow("writer document") << fileBytes(odt) << "odt";
        QTest::newRow("odf text, made here")
            << zip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                    {"content.xml", "<x/>"}})
            << "odt";
        QTest::newRow("odf sheet")
            << zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}) << "doc";
        QTest::newRow("office open xml")
            << zip({{"[Content_Types].xml", "<x/>"}, {"word/document.xml", "<w/>"}}) << "docx";
        QTest::newRow("other zip") << zip({{"readme.txt", "hello"}}) << "doc";
        QTest::newRow("broken zip") << QByteArray("PK\x03\x04garbage") << "doc";
        QTest::newRow("rtf") << QByteArray("{\\rtf1\\ansi hello}") << "rtf";
        QTest::newRow("anything else") << QByteArray("plain text") << "doc";
        QTest::newRow("empty") << QByteArray() << "doc";
    }
    void templateKindFromContent() {
        QFETCH(QByteArray, data);
        QFETCH(QString, ext);
        QCOMPARE(templateExtension(data), ext);
    }

    void newBook_data() {
        QTest::addColumn<int>("ownerType");
        QTest::addColumn<int>("firstKey");
        QTest::addColumn<int>("lastKey");
        QTest::newRow("cash desk") << int(BookKind::CashDesk) << 17 << 24;
        QTest::newRow("bank account") << int(BookKind::BankAccount) << 1 << 16;
    }
    void newBook() {
        QFETCH(int, ownerType);
        QFETCH(int, firstKey);
        QFETCH(int, lastKey);
        StoreNotices dialogs;
        ListedPlace place;
        const QString name = QStringLiteral("Касса №1");
        const QString path =
            createNewBook(BookKind(ownerType), name, place.books, templatesFolder());
        QCOMPARE(path, QDir(place.books).filePath("Kaltro1.fdb"));
        QVERIFY(dialogs.texts.isEmpty());

        QCOMPARE(place.ini("DatabaseCount"), "3");
        QCOMPARE(place.ini("DatabasePath_2"), path);
        QCOMPARE(place.ini("DatabaseCaption_2"), name);
        QCOMPARE(place.ini("DatabasePath_1"), "/data/b.fdb");

        fb::Attachment db;
        db.attach(path);
        QCOMPARE(value(db, "SELECT LOWNER FROM PARTS WHERE PRKEY = 0"), QString::number(ownerType));
        QCOMPARE(value(db, "SELECT ETC FROM PARTS WHERE PRKEY = 0"),
                 "StoreCapt=" + name + "\x01" + "DBVersion=2.18\x01");
        const QStringList rows = printForms(db);
        QCOMPARE(rows.size(), lastKey - firstKey + 1);
        const QList<TemplateRow> expected = defaultPrintFormRows(ownerType);
        for (int i = 0; i < rows.size(); ++i) {
            const TemplateRow& row = expected[i];
            const QByteArray data = fileBytes(QDir(templatesFolder()).filePath(row.fileName));
            QCOMPARE(rows[i].section('|', 0, 4), QString("%1|%2|%3|%4|%5")
                                                     .arg(row.key)
                                                     .arg(row.docType)
                                                     .arg(row.name, row.ext)
                                                     .arg(data.size()));
            QCOMPARE(templateExtension(data), row.ext);
        }
        QCOMPARE(rows.first().section('|', 0, 0), QString::number(firstKey));
        db.detach();

        // The first backups hold the finished book: owner row and templates included.
        for (int kind = 0; kind <= 2; ++kind) {
            const QString backup =
                DataStore::backupPath(path, DataStore::backupFolder(BackupKind(kind)));
            QVERIFY2(QFile::exists(backup), qPrintable(backup));
        }
        const QString restored = place.place.path("restored.fdb");
        fb::services::restore(
            DataStore::backupPath(path, DataStore::backupFolder(BackupKind::Reserv)), restored);
        QCOMPARE(forms(restored), rows);
    }

    // A book that cannot be finished leaves no file and no entry; the next one takes the same
    // name. diskSize: the books folder on a disk of that size (0: an ordinary folder).
    void failedBookLeavesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("missingTemplate");
        QTest::addColumn<qint64>("diskSize");
        QTest::newRow("template file missing")
            << "Касса"
            << "Расходный кассовый ордер (Россия).odt" << qint64(0);
        QTest::newRow("name outside Windows-1251") << "Касса ✓"
                                                   << "" << qint64(0);
        QTest::newRow("disk full at once") << "Касса"
                                           << "" << qint64(1024 * 1024);
        QTest::newRow("disk full in the creation script") << "Касса"
                                                          << "" << qint64(1500 * 1024);
    }
    void failedBookLeavesNothing() {
        QFETCH(QString, name);
        QFETCH(QString, missingTemplate);
        QFETCH(qint64, diskSize);
        if (diskSize > 0 && !SmallFileSystem::unavailable().isEmpty())
            QSKIP(qPrintable(SmallFileSystem::unavailable()));
        StoreNotices dialogs;
        ListedPlace place;
        std::unique_ptr<SmallFileSystem> disk;
        if (diskSize > 0) {
            disk = std::make_unique<SmallFileSystem>(diskSize);
            place.books = disk->path();
        }
        QTemporaryDir templates;
        for (const QString& file : QDir(templatesFolder()).entryList(QDir::Files))
            if (file != missingTemplate)
                QVERIFY(QFile::copy(QDir(templatesFolder()).filePath(file),
                                    QDir(templates.path()).filePath(file)));
        QVERIFY_THROWS_EXCEPTION(
            Exception, createNewBook(BookKind::CashDesk, name, place.books, templates.path()));
        QCOMPARE(place.filesLeft(), QStringList{});
        QCOMPARE(place.ini("DatabaseCount"), "2");
        QCOMPARE(place.ini("DatabasePath_2"), "-");
        // The next try takes the same file name.
        QCOMPARE(nextDatabaseFileName(place.books), QDir(place.books).filePath("Kaltro1.fdb"));
    }

    // The program is killed while it makes a book, here while it reads a template (a pipe that
    // the test holds): no file stands under a book's name and nothing is listed; what the
    // killed program made is not taken for a book, and the next book takes the first name.
    void aKilledCreationLeavesNoBook() {
        StoreNotices dialogs;
        ListedPlace place;
        HeldCreation creation;
        QVERIFY(creation.start(place.place.path("kaltro.ini"), place.books));
        QVERIFY(creation.kill());

        QCOMPARE(QDir(place.books).entryList({"Kaltro*.fdb"}, QDir::Files), QStringList{});
        QCOMPARE(place.filesLeft().size(), 1); // the killed program's own, unfinished
        QCOMPARE(place.ini("DatabaseCount"), "2");
        const QString path = createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), place.books,
                                           templatesFolder());
        QCOMPARE(path, QDir(place.books).filePath("Kaltro1.fdb"));
        QCOMPARE(place.ini("DatabasePath_2"), path);
        QCOMPARE(forms(path).size(), 8);
    }

    // At start, the unfinished file of a creation killed in a folder of the list's books goes;
    // that of a creation still at work stays.
    void theStartRemovesAKilledCreationsFile() {
        StoreNotices dialogs;
        ListedPlace place;
        IniFile& ini = place.place.store().ini();
        ini.writeString("DB", "DatabasePath_1", QDir(place.books).filePath("b.fdb"));
        HeldCreation creation;
        QVERIFY(creation.start(place.place.path("kaltro.ini"), place.books));
        const QStringList unfinished = place.filesLeft();
        QCOMPARE(unfinished.size(), 1);
        QVERIFY2(unfinished[0].startsWith("Kaltro.fdb."), qPrintable(unfinished[0]));

        removeLeftoverNewBooks(ini);
        QCOMPARE(place.filesLeft(), unfinished);

        QVERIFY(creation.kill());
        removeLeftoverNewBooks(ini);
        QCOMPARE(place.filesLeft(), QStringList{});
    }
};

QTEST_MAIN(TestNewDatabase)
#include "test_new_book.moc"
