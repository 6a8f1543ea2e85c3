#include "core/exceptions.h"
#include "store/passwords.h"

#include <QTest>

class TestPasswords : public QObject {
    Q_OBJECT
private slots:
    void encodingIsHexOfTheBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("empty") << ""
                               << "01";
        QTest::newRow("a") << "a"
                           << "6101";
        QTest::newRow("abc") << "abc"
                             << "26464545";
        QTest::newRow("Cyrillic, as Windows-1251 bytes") << "пароль"
                                                         << "94FA75E57BFF68";
        QTest::newRow("byte sum 256: seed 1") << "А@"
                                              << "0141C1";
        QTest::newRow("Ё and №") << "Ёж№1"
                                 << "78509E40C9";
    }
    void encodingIsHexOfTheBytes() {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(encodePassword(text), encoded);
    }

    void encodeRefusesTextOutsideWindows1251() {
        QVERIFY_THROWS_EXCEPTION(Exception, encodePassword("ключ日"));
    }

    void newPasswordChecks_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("problem");
        QTest::newRow("same") << "пароль"
                              << "пароль"
                              << "";
        QTest::newRow("empty twice") << ""
                                     << ""
                                     << "";
        QTest::newRow("different") << "пароль"
                                   << "Пароль"
                                   << "Пароли не совпадают.\nПовторите ввод";
        QTest::newRow("different, foreign too") << "ключ日"
                                                << "ключ"
                                                << "Пароли не совпадают.\nПовторите ввод";
        QTest::newRow("foreign character")
            << "ключ日1"
            << "ключ日1"
            << "Символ \"日\" нельзя использовать в пароле: его нет в кодировке "
               "Windows-1251.\nПовторите ввод";
        QTest::newRow("surrogate pair named whole")
            << "a😀"
            << "a😀"
            << "Символ \"😀\" нельзя использовать в пароле: его нет в кодировке "
               "Windows-1251.\nПовторите ввод";
    }
    void newPasswordChecks() {
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(QString, problem);
        QCOMPARE(checkNewPassword(password, confirm), problem);
    }

    void typedPasswordOpens_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("no password stored, anything typed") << "xyz"
                                                            << "" << true;
        QTest::newRow("01 stored, empty typed") << ""
                                                << "01" << true;
        QTest::newRow("01 stored, text typed") << "x"
                                               << "01" << false;
        QTest::newRow("right") << "пароль"
                               << "94FA75E57BFF68" << true;
        QTest::newRow("wrong case") << "Пароль"
                                    << "94FA75E57BFF68" << false;
        QTest::newRow("empty typed for a password") << ""
                                                    << "26464545" << false;
        QTest::newRow("foreign text typed") << "日"
                                            << "26464545" << false;
    }
    void typedPasswordOpens() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, accepted);
        QCOMPARE(passwordAccepted(typed, stored), accepted);
    }
};

QTEST_GUILESS_MAIN(TestPasswords)
#include "test_passwords.moc"
