#include "core/exceptions.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/logon_dialog.h"
#include "shell/password_dialog.h"
#include "shell/sql_console.h"
#include "store/carried_scripts.h"
#include "store/data_store.h"
#include "tests/support/platform/test_database.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using testsupport::TestDatabase;

namespace {

// A book with the USERS table; users are given as "PRKEY;LNAM;PASSW", PASSW "NULL" for null.
struct Book {
    TestDatabase db;
    DataStore store;
    explicit Book(const QStringList& users) : store(db.filePath("kaltro.ini")) {
        db.exec("CREATE TABLE USERS (PRKEY INTEGER NOT NULL, LNAM VARCHAR(50), "
                "PASSW BLOB SUB_TYPE 0 SEGMENT SIZE 80, ISADMIN INTEGER, "
                "DATA1 BLOB SUB_TYPE 0 SEGMENT SIZE 80, DATA2 BLOB SUB_TYPE 0 SEGMENT SIZE 80, "
                "CONSTRAINT USERS_PK1 PRIMARY KEY (PRKEY))");
        db.attachment().detach();
        store.database().attach(db.path());
        for (const QString& user : users)
            addUser(user.split(QLatin1Char(';')));
        store.setUserKey(0);
    }
    void addUser(const QStringList& fields) {
        fb::Transaction tr(store.database());
        fb::Statement q(tr, "INSERT INTO USERS (PRKEY, LNAM, PASSW, ISADMIN) "
                            "VALUES (:PRKEY, :LNAM, :PASSW, 1)");
        q.param("PRKEY").setInteger(fields[0].toInt());
        q.param("LNAM").setString(fields[1]);
        if (fields[2] == "NULL")
            q.param("PASSW").setNull();
        else
            q.param("PASSW").setString(fields[2]);
        q.execute();
        tr.commit();
    }
    int lastUser() { return store.ini().readInteger("Logon", "LastUser", -1); }
};

// Records every message box and answers OK.
struct Messages {
    QStringList texts;
    QList<MessageIcon> icons;
    ScopedDialogAnswerer answerer{[this](const DialogRequest& r) {
        texts << r.caption + ": " + r.text;
        icons << r.icon;
        return DialogAnswer{Answer::Ok, {}};
    }};
};

// Answers the modal window shown next, from inside its own event loop. A window the answer
// leaves open is cancelled, so a test never hangs on it.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QDialog&)> answer) : m_answer(std::move(answer)) {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answerNow(); });
        m_timer.start(0);
    }
    bool shown = false;
    bool leftOpen = false;
    QString name; // the object name of the window answered

private:
    void answerNow() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = true;
        name = dialog->objectName();
        m_answer(*dialog);
        if (dialog->isVisible()) {
            leftOpen = true;
            dialog->reject();
        }
    }
    std::function<void(QDialog&)> m_answer;
    QTimer m_timer;
};

template <class T> T& child(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("The window has no control %s", name);
    return *widget;
}

void typeAndOk(QDialog& window, const QString& password, const QString& confirm = QString()) {
    child<QLineEdit>(window, "passwordEdit").setText(password);
    if (QLineEdit* edit = window.findChild<QLineEdit*>("confirmEdit"))
        edit->setText(confirm);
    child<QPushButton>(window, "okButton").click();
}

QStringList itemTexts(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

const QString kAdmin = QStringLiteral("10001;Admin;26464545");          // "abc"
const QString kCashier = QStringLiteral("10002;Кассир;94FA75E57BFF68"); // "пароль"
const QString kHiddenOld = QStringLiteral("10003;?Старый;NULL");

} // namespace

class TestLogon : public QObject {
    Q_OBJECT
private slots:
    // Books that open without the window.
    void silentLogon_data() {
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<int>("userKey");
        QTest::newRow("no users") << QStringList{} << 0;
        QTest::newRow("only hidden users") << QStringList{kHiddenOld, "10004;?Gone;26464545"} << 0;
        QTest::newRow("one user, null password") << QStringList{"1;Admin;NULL"} << 1;
        QTest::newRow("one user, empty password") << QStringList{"1;Admin;"} << 1;
        QTest::newRow("one user, password 01") << QStringList{"1;Admin;01"} << 1;
        QTest::newRow("one visible among hidden with passwords")
            << QStringList{"10004;?Gone;26464545", "7;Кассир;NULL"} << 7;
    }
    void silentLogon() {
        QFETCH(QStringList, users);
        QFETCH(int, userKey);
        Book book(users);
        ModalAnswer answer([](QDialog&) {});
        QVERIFY(LogonDialog::logon());
        QVERIFY(!answer.shown);
        QCOMPARE(book.store.userKey(), userKey);
        QCOMPARE(book.lastUser(), -1);
    }

    void databaseErrorPassesOn() {
        TestDatabase db;
        db.attachment().detach();
        DataStore store(db.filePath("kaltro.ini"));
        store.database().attach(db.path());
        QVERIFY_THROWS_EXCEPTION(fb::Error, LogonDialog::logon());
        QCOMPARE(store.userKey(), 0);
    }

    // A new book opens as its administrator; once he has a password set through the dialog,
    // the logon asks for it.
    void newBookThenPasswordSet() {
        TestDatabase db;
        db.attachment().detach();
        DataStore store(db.filePath("kaltro.ini"));
        store.database().attach(db.path());
        SqlConsole::runScript(store.database(), carriedScript("SQL_NEWDB"));
        {
            ModalAnswer answer([](QDialog&) {});
            QVERIFY(LogonDialog::logon());
            QVERIFY(!answer.shown);
            QCOMPARE(store.userKey(), 1);
        }

        QString password;
        {
            ModalAnswer answer([](QDialog& window) { typeAndOk(window, "Ёж", "Ёж"); });
            QVERIFY(PasswordDialog::changePassword(nullptr, password));
            QCOMPARE(answer.name, QStringLiteral("passwordDialog"));
        }
        fb::Transaction tr(store.database());
        fb::Statement q(tr, "UPDATE USERS SET PASSW=:PASSW WHERE PRKEY=1");
        q.param("PASSW").setString(password);
        q.execute();
        tr.commit();

        store.setUserKey(0);
        Messages messages;
        ModalAnswer answer([](QDialog& window) {
            typeAndOk(window, "");
            typeAndOk(window, "Ёж");
        });
        QVERIFY(LogonDialog::logon());
        QVERIFY(answer.shown);
        QCOMPARE(answer.name, QStringLiteral("logonDialog"));
        QCOMPARE(messages.texts, QStringList{"Ошибка: Пароль неверен!"});
        QCOMPARE(store.userKey(), 1);
        QCOMPARE(store.ini().readInteger("Logon", "LastUser", -1), 1);
    }

    void windowListsVisibleUsers_data() {
        QTest::addColumn<int>("lastUser"); // -1: not in the INI
        QTest::addColumn<int>("selected");
        QTest::newRow("no last user: the first") << -1 << 0;
        QTest::newRow("last user preselected") << 10002 << 1;
        QTest::newRow("last user deleted: none") << 10009 << -1;
        QTest::newRow("last user hidden: none") << 10003 << -1;
    }
    void windowListsVisibleUsers() {
        QFETCH(int, lastUser);
        QFETCH(int, selected);
        Book book({kAdmin, kHiddenOld, kCashier});
        if (lastUser != -1)
            book.store.ini().writeInteger("Logon", "LastUser", lastUser);
        LogonDialog window;
        auto& users = child<QComboBox>(window, "userCombo");
        QCOMPARE(itemTexts(users), (QStringList{"Admin ", "Кассир "}));
        QCOMPARE(users.currentIndex(), selected);
        QCOMPARE(child<QLineEdit>(window, "passwordEdit").echoMode(), QLineEdit::Password);
    }

    void wrongPasswordThenRight() {
        Book book({kAdmin, kCashier});
        Messages messages;
        bool stayedAfterWrong = false;
        ModalAnswer answer([&](QDialog& window) {
            child<QComboBox>(window, "userCombo").setCurrentIndex(1);
            typeAndOk(window, "парол");
            stayedAfterWrong = window.isVisible() && book.store.userKey() == 0;
            typeAndOk(window, "пароль");
        });
        QVERIFY(LogonDialog::logon());
        QVERIFY(answer.shown);
        QVERIFY(!answer.leftOpen);
        QVERIFY(stayedAfterWrong);
        QCOMPARE(messages.texts, QStringList{"Ошибка: Пароль неверен!"});
        QCOMPARE(messages.icons, QList<MessageIcon>{MessageIcon::Error});
        QCOMPARE(book.store.userKey(), 10002);
        QCOMPARE(book.lastUser(), 10002);

        // The next start offers the same user.
        LogonDialog next;
        QCOMPARE(child<QComboBox>(next, "userCombo").currentText(), QStringLiteral("Кассир "));
    }

    void onePasswordedUserIsAsked() {
        Book book({kHiddenOld, kAdmin});
        ModalAnswer answer([](QDialog& window) { typeAndOk(window, "abc"); });
        QVERIFY(LogonDialog::logon());
        QVERIFY(answer.shown);
        QCOMPARE(book.store.userKey(), 10001);
    }

    void twoUsersWithoutPassword_data() {
        QTest::addColumn<int>("pick");
        QTest::addColumn<int>("userKey");
        QTest::newRow("first") << 0 << 5;
        QTest::newRow("second") << 1 << 6;
    }
    void twoUsersWithoutPassword() {
        QFETCH(int, pick);
        QFETCH(int, userKey);
        Book book({"5;Первый;NULL", "6;Второй;01"});
        ModalAnswer answer([pick](QDialog& window) {
            child<QComboBox>(window, "userCombo").setCurrentIndex(pick);
            typeAndOk(window, "");
        });
        QVERIFY(LogonDialog::logon());
        QVERIFY(answer.shown);
        QCOMPARE(book.store.userKey(), userKey);
        QCOMPARE(book.lastUser(), userKey);
    }

    void cancelRefusesTheLogon() {
        Book book({kAdmin, kCashier});
        book.store.ini().writeInteger("Logon", "LastUser", 10001);
        ModalAnswer answer([](QDialog& window) {
            child<QComboBox>(window, "userCombo").setCurrentIndex(1);
            child<QLineEdit>(window, "passwordEdit").setText("пароль");
            child<QPushButton>(window, "cancelButton").click();
        });
        QVERIFY(!LogonDialog::logon());
        QVERIFY(answer.shown);
        QVERIFY(!answer.leftOpen);
        QCOMPARE(book.store.userKey(), 0);
        QCOMPARE(book.lastUser(), 10001);
    }

    void okWithoutChosenUserDoesNothing() {
        Book book({kAdmin, kCashier});
        book.store.ini().writeInteger("Logon", "LastUser", 10009);
        Messages messages;
        bool stayed = false;
        ModalAnswer answer([&](QDialog& window) {
            typeAndOk(window, "abc");
            stayed = window.isVisible();
            child<QComboBox>(window, "userCombo").setCurrentIndex(0);
            child<QPushButton>(window, "okButton").click();
        });
        QVERIFY(LogonDialog::logon());
        QVERIFY(stayed);
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(book.store.userKey(), 10001);
    }

    void enterMovesToTheNextField() {
        Book book({kAdmin, kCashier});
        LogonDialog logon;
        child<QComboBox>(logon, "userCombo").setFocus();
        QTest::keyClick(&child<QComboBox>(logon, "userCombo"), Qt::Key_Return);
        QCOMPARE(logon.focusWidget(), &child<QLineEdit>(logon, "passwordEdit"));
        QTest::keyClick(&child<QLineEdit>(logon, "passwordEdit"), Qt::Key_Enter);
        QCOMPARE(logon.focusWidget(), &child<QPushButton>(logon, "okButton"));
        QVERIFY(logon.result() != QDialog::Accepted);

        PasswordDialog password;
        child<QLineEdit>(password, "passwordEdit").setFocus();
        QTest::keyClick(&child<QLineEdit>(password, "passwordEdit"), Qt::Key_Return);
        QCOMPARE(password.focusWidget(), &child<QLineEdit>(password, "confirmEdit"));
        QTest::keyClick(&child<QLineEdit>(password, "confirmEdit"), Qt::Key_Return);
        QCOMPARE(password.focusWidget(), &child<QPushButton>(password, "okButton"));
    }

    // A refused new password is said, both fields are cleared and the window stays for the
    // next try ("abc" twice).
    void changePassword_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("typed twice") << "пароль"
                                     << "пароль"
                                     << ""
                                     << "94FA75E57BFF68";
        QTest::newRow("empty twice") << ""
                                     << ""
                                     << ""
                                     << "01";
        QTest::newRow("different") << "пароль"
                                   << "пароли"
                                   << "Ошибка: Пароли не совпадают.\nПовторите ввод"
                                   << "26464545";
        QTest::newRow("foreign character")
            << "пароль日"
            << "пароль日"
            << "Ошибка: Символ \"日\" нельзя использовать в пароле: его нет в кодировке "
               "Windows-1251.\nПовторите ввод"
            << "26464545";
    }
    void changePassword() {
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        Messages messages;
        bool cleared = false;
        ModalAnswer answer([&](QDialog& window) {
            typeAndOk(window, password, confirm);
            if (!window.isVisible())
                return;
            cleared = child<QLineEdit>(window, "passwordEdit").text().isEmpty() &&
                      child<QLineEdit>(window, "confirmEdit").text().isEmpty();
            typeAndOk(window, "abc", "abc");
        });
        QString result;
        QVERIFY(PasswordDialog::changePassword(nullptr, result));
        QVERIFY(!answer.leftOpen);
        QCOMPARE(result, stored);
        QCOMPARE(messages.texts, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(cleared, !message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(messages.icons, QList<MessageIcon>{MessageIcon::Error});
    }

    void changePasswordCancelled_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void changePasswordCancelled() {
        QFETCH(bool, escape);
        QString shownFirst;
        ModalAnswer answer([&](QDialog& window) {
            auto& edit = child<QLineEdit>(window, "passwordEdit");
            shownFirst = edit.text();
            edit.setText("abc");
            child<QLineEdit>(window, "confirmEdit").setText("abc");
            if (escape)
                QTest::keyClick(&edit, Qt::Key_Escape);
            else
                child<QPushButton>(window, "cancelButton").click();
        });
        QString password = "start";
        QVERIFY(!PasswordDialog::changePassword(nullptr, password));
        QVERIFY(answer.shown);
        QVERIFY(!answer.leftOpen);
        QCOMPARE(shownFirst, QStringLiteral("start"));
        QCOMPARE(password, QStringLiteral("start"));
    }
};

QTEST_MAIN(TestLogon)
#include "test_logon.moc"
