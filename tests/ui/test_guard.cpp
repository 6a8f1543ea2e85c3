#include "core/exceptions.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QTest>

namespace {

// Throws from its event handler, as a widget's slot might.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw Exception(QStringLiteral("Ошибка в обработчике"));
        return QObject::event(e);
    }
};

struct Shown {
    QStringList texts;
    QList<MessageIcon> icons;
};

DialogAnswerer recorder(Shown& shown, Answer button = Answer::Ok) {
    return [&shown, button](const DialogRequest& r) {
        shown.texts << r.text;
        shown.icons << r.icon;
        const Answer answer = r.kind == DialogKind::Input ? Answer::Ok : button;
        return DialogAnswer{answer, QStringLiteral("введено")};
    };
}

} // namespace

class TestGuard : public QObject {
    Q_OBJECT
private slots:
    void guardedActionShowsItsMessage_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("exception") << 0 << QStringList{"Нельзя"};
        QTest::newRow("silent abort") << 1 << QStringList{};
        QTest::newRow("standard exception") << 2 << QStringList{"bad thing"};
        QTest::newRow("no error") << 3 << QStringList{};
    }
    void guardedActionShowsItsMessage() {
        QFETCH(int, kind);
        QFETCH(QStringList, texts);
        Shown shown;
        ScopedDialogAnswerer answerer(recorder(shown));
        const bool ok = runGuarded([kind] {
            if (kind == 0)
                throw Exception(QStringLiteral("Нельзя"));
            if (kind == 1)
                throw SilentAbort();
            if (kind == 2)
                throw std::runtime_error("bad thing");
        });
        QCOMPARE(ok, kind == 3);
        QCOMPARE(shown.texts, texts);
    }

    void exceptionInEventHandlerStopsAtTheLoop() {
        Shown shown;
        ScopedDialogAnswerer answerer(recorder(shown));
        Thrower thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(shown.texts, QStringList{"Ошибка в обработчике"});
        QCOMPARE(shown.icons.value(0), MessageIcon::Error);
    }

    void answererStandsInForTheUser() {
        Shown shown;
        ScopedDialogAnswerer answerer(recorder(shown, Answer::No));
        QCOMPARE(dialogs::messageBox(nullptr, "Удалить?", "Удаление", Buttons::YesNo,
                                     MessageIcon::None, DefaultButton::Second),
                 Answer::No);
        QString value = QStringLiteral("было");
        QVERIFY(
            dialogs::inputQuery("Название", "Название:", value, [](QString&) { return false; }));
        QCOMPARE(value, QStringLiteral("введено"));
    }

    void withoutAnswererOffscreenTakesDefaultButtonAndSaysSo() {
        QVERIFY(!dialogs::hasAnswerer());
        QStringList reported;
        dialogs::setUnansweredReport([&](const QString& what) { reported << what; });
        QCOMPARE(dialogs::messageBox(nullptr, "?", "q", Buttons::YesNo, MessageIcon::None,
                                     DefaultButton::Second),
                 Answer::No);
        QCOMPARE(dialogs::messageBox(nullptr, "?", "q", Buttons::OkCancel), Answer::Ok);
        QString value;
        QVERIFY(!dialogs::inputQuery("c", "p", value, [](QString&) { return true; }));
        dialogs::setUnansweredReport({});
        QCOMPARE(reported,
                 QStringList({"Unanswered message box \"q\": ?", "Unanswered message box \"q\": ?",
                              "Unanswered input dialog \"c\""}));
    }
};

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    TestGuard test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_guard.moc"
