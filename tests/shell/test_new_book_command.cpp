#include "core/exceptions.h"
#include "shell/new_book_command.h"
#include "store/new_book.h"
#include "tests/support/store/schema_support.h"
#include "tests/support/ui/dialog_recorder.h"

#include <QDir>
#include <QTest>

using namespace schematest;

class TestNewBookCommand : public QObject {
    Q_OBJECT
private slots:
    void addDatabaseAsksNameAndFolder() {
        ListedPlace place;
        const QString folder = place.place.path("chosen/books");
        Dialogs dialogs([&](const DialogRequest& r) {
            if (r.kind == DialogKind::Input)
                return DialogAnswer{Answer::Ok, "Касса на складе"};
            if (r.kind == DialogKind::Folder)
                return DialogAnswer{Answer::Ok, folder};
            return DialogAnswer{Answer::Ok, {}};
        });
        QString path;
        QVERIFY(addBook(nullptr, BookKind::CashDesk, "Название новой кассы", "Новая касса", &path));
        QCOMPARE(path, QDir(folder).filePath("Kaltro1.fdb"));
        QCOMPARE(dialogs.requests.size(), 3);
        const DialogRequest& input = dialogs.requests[0];
        QCOMPARE(input.kind, DialogKind::Input);
        QCOMPARE(input.caption + "|" + input.text + "|" + input.value,
                 "Название новой кассы|Название:|Новая касса");
        const DialogRequest& choice = dialogs.requests[1];
        QCOMPARE(choice.kind, DialogKind::Folder);
        QCOMPARE(choice.caption, "Выберите папку для хранения базы данных");
        QCOMPARE(choice.value, defaultDatabasesFolder());
        const DialogRequest& done = dialogs.requests[2];
        QCOMPARE(done.caption + "|" + done.text,
                 "Создание|Операция произведена успешно!\nДля использования новой базы "
                 "запустите программу заново.");
        QCOMPARE(place.ini("DatabaseCaption_2"), "Касса на складе");
        QCOMPARE(forms(path).size(), 8);
    }

    void addDatabaseCancelled_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("asked");
        QTest::newRow("name dialog") << int(DialogKind::Input) << "Касса" << 1;
        QTest::newRow("folder dialog") << int(DialogKind::Folder) << "Касса" << 2;
        QTest::newRow("empty name") << -1 << "  " << 1;
    }
    void addDatabaseCancelled() {
        QFETCH(int, cancelAt);
        QFETCH(QString, name);
        QFETCH(int, asked);
        ListedPlace place;
        Dialogs dialogs([&](const DialogRequest& r) {
            if (int(r.kind) == cancelAt)
                return DialogAnswer{Answer::Cancel, {}};
            return DialogAnswer{Answer::Ok, r.kind == DialogKind::Input ? name : place.books};
        });
        if (cancelAt < 0)
            QVERIFY_THROWS_EXCEPTION(Exception, addBook(nullptr, BookKind::CashDesk, "P", "D"));
        else
            QVERIFY_THROWS_EXCEPTION(SilentAbort, addBook(nullptr, BookKind::CashDesk, "P", "D"));
        QCOMPARE(dialogs.requests.size(), asked);
        QCOMPARE(place.filesLeft(), QStringList{});
        QCOMPARE(place.ini("DatabaseCount"), "2");
    }
};

QTEST_MAIN(TestNewBookCommand)
#include "test_new_book_command.moc"
