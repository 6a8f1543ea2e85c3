#include "core/ini_file.h"
#include "store/book_list.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An INI file in a temporary folder.
struct Place {
    QTemporaryDir dir;
    IniFile ini{dir.filePath("kaltro.ini")};
    BookList books{ini};
};

} // namespace

class TestBookList : public QObject {
    Q_OBJECT
private slots:
    void serverPaths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("server");
        QTest::newRow("host and port") << "localhost/3051:/srv/books/Kaltro1.fdb" << true;
        QTest::newRow("host") << "books.example.org:/srv/books/Kaltro1.fdb" << true;
        QTest::newRow("local file") << "/srv/books/Kaltro1.fdb" << false;
        QTest::newRow("relative") << "./Kaltro1.fdb" << false;
        QTest::newRow("drive letter") << "C:\\Books\\Kaltro1.fdb" << false;
        QTest::newRow("file name") << "Kaltro1.fdb" << false;
    }
    void serverPaths() {
        QFETCH(QString, path);
        QFETCH(bool, server);
        Place place;
        place.books.save({{"", "/srv/other.fdb"}, {"", path}});
        const ChosenBook book = place.books.book(1);
        QCOMPARE(book.onServer(), server);
        QCOMPARE(book.path(), path);
        QCOMPARE(book.entry(), 1);
        QVERIFY(!book.isNone());
    }

    void renameFindsTheBookByItsFileOrItsText() {
        Place place;
        QDir().mkpath(place.dir.filePath("sub"));
        const QString local = place.dir.filePath("Kaltro1.fdb");
        QFile file(local);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString server = "localhost/3051:/srv/books/Kaltro1.fdb";
        place.books.save({{"Здесь", local}, {"", server}});

        QVERIFY(place.books.renameBook(server, "На сервере"));
        QVERIFY(place.books.renameBook(place.dir.filePath("sub/../Kaltro1.fdb"), "Местная"));
        QVERIFY(!place.books.renameBook("localhost/3051:/srv/books/Kaltro2.fdb", "Чужая"));
        QVERIFY(!place.books.renameBook(place.dir.filePath("Kaltro2.fdb"), "Чужая"));
        QCOMPARE(place.books.caption(0), QStringLiteral("Местная"));
        QCOMPARE(place.books.caption(1), QStringLiteral("На сервере"));
        QCOMPARE(place.books.count(), 2);
        QVERIFY(BookList::sameBook(server, server));
        QVERIFY(!BookList::sameBook(QString(), QString()));
    }

    void removeTakesTheEntryByItsPath() {
        Place place;
        place.books.save({{"A", "/books/a.fdb"}, {"", "/books/b.fdb"}, {"C", "/books/c.fdb"}});
        QVERIFY(place.books.remove("/books/a.fdb"));
        QVERIFY(!place.books.remove("/books/a.fdb"));
        QCOMPARE(place.books.count(), 2);
        QCOMPARE(place.books.path(0), QStringLiteral("/books/b.fdb"));
        QCOMPARE(place.books.caption(0), QString());
        QCOMPARE(place.books.path(1), QStringLiteral("/books/c.fdb"));
        QVERIFY(!place.ini.valueExists("DB", "DatabasePath_2"));
    }

    void booksAddedByTwoCopiesAtOnceAreAllListed() {
        Place place;
        place.books.append("/books/first.fdb", "first");
        const int count = 25;
        QProcess one, two;
        one.start(QStringLiteral(BOOK_LIST_WRITER),
                  {place.ini.fileName(), "A", QString::number(count)});
        two.start(QStringLiteral(BOOK_LIST_WRITER),
                  {place.ini.fileName(), "B", QString::number(count)});
        for (QProcess* copy : {&one, &two}) {
            QVERIFY(copy->waitForFinished(120000));
            QVERIFY2(copy->exitStatus() == QProcess::NormalExit && copy->exitCode() == 0,
                     copy->readAllStandardError().constData());
        }
        QStringList expected{"/books/first.fdb"};
        for (const QString prefix : {"A", "B"})
            for (int i = 0; i < count; ++i)
                expected << QStringLiteral("/books/%1%2.fdb").arg(prefix).arg(i);
        QStringList listed;
        for (const BookEntry& entry : place.books.entries()) {
            QCOMPARE(entry.caption + ".fdb", BookList::fileNamePart(entry.path));
            listed << entry.path;
        }
        QCOMPARE(listed.first(), expected.first());
        listed.sort();
        expected.sort();
        QCOMPARE(listed, expected);
    }
};

QTEST_GUILESS_MAIN(TestBookList)
#include "test_book_list.moc"
