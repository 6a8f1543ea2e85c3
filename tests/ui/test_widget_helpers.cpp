#include "core/exceptions.h"
#include "tests/support/core/exception_message.h"
#include "ui/input_dialog.h"
#include "ui/message_box.h"
#include "ui/owned_dialog.h"
#include "ui/wait_cursor.h"
#include "ui/widget_helpers.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testsupport::messageOf;

class TestWidgetHelpers : public QObject {
    Q_OBJECT
private slots:
    void showWarningShowsExclamationBox() {
        QList<DialogRequest> asked;
        ScopedDialogAnswerer answerer([&](const DialogRequest& request) {
            asked << request;
            return DialogAnswer{Answer::Ok, {}};
        });
        showWarning(nullptr, QStringLiteral("Выберите Партнера!"));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, QStringLiteral("Выберите Партнера!"));
        QCOMPARE(asked[0].caption, dialogs::applicationTitle());
        QCOMPARE(asked[0].buttons, Buttons::Ok);
        QCOMPARE(asked[0].icon, MessageIcon::Warning);
    }

    void messageBoxRepeatAsksWhileExpected_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("asked");
        QTest::newRow("count 0") << 0 << QList<Answer>{} << true << 0;
        QTest::newRow("confirmed") << 1 << QList<Answer>{Answer::Ok} << true << 1;
        QTest::newRow("declined") << 1 << QList<Answer>{Answer::Cancel} << false << 1;
        QTest::newRow("all three")
            << 3 << QList<Answer>{Answer::Ok, Answer::Ok, Answer::Ok} << true << 3;
        QTest::newRow("stops at the first other")
            << 3 << QList<Answer>{Answer::Ok, Answer::Cancel} << false << 2;
    }
    void messageBoxRepeatAsksWhileExpected() {
        QFETCH(int, count);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, result);
        QFETCH(int, asked);
        int seen = 0;
        ScopedDialogAnswerer answerer([&](const DialogRequest& request) {
            [&] {
                QCOMPARE(request.caption, QStringLiteral("Добавление"));
                QCOMPARE(request.text, QStringLiteral("Создать нового партнера?"));
                QCOMPARE(request.buttons, Buttons::OkCancel);
            }();
            return DialogAnswer{answers.value(seen++, Answer::Ok), {}};
        });
        QCOMPARE(messageBoxRepeat(nullptr, QStringLiteral("Добавление"),
                                  QStringLiteral("Создать нового партнера?"), Buttons::OkCancel,
                                  Answer::Ok, count),
                 result);
        QCOMPARE(seen, asked);
    }

    void inputQueryExGoesThroughAnswerer_data() {
        QTest::addColumn<Answer>("button");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("value");
        QTest::newRow("ok") << Answer::Ok << true << "Счет-фактура";
        QTest::newRow("cancel") << Answer::Cancel << false << "Шаблон";
    }
    void inputQueryExGoesThroughAnswerer() {
        QFETCH(Answer, button);
        QFETCH(bool, result);
        QFETCH(QString, value);
        DialogRequest seen;
        ScopedDialogAnswerer answerer([&](const DialogRequest& request) {
            seen = request;
            return DialogAnswer{button, QStringLiteral("Счет-фактура")};
        });
        QString text = QStringLiteral("Шаблон");
        QCOMPARE(inputQueryEx(nullptr, QStringLiteral("Название для новой печатной формы"),
                              QStringLiteral("Название:"), text),
                 result);
        QCOMPARE(text, value);
        QCOMPARE(seen.kind, DialogKind::Input);
        QCOMPARE(seen.caption, QStringLiteral("Название для новой печатной формы"));
        QCOMPARE(seen.text, QStringLiteral("Название:"));
        QCOMPARE(seen.value, QStringLiteral("Шаблон"));
    }

    void inputQueryDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << "okButton" << int(QDialog::Accepted);
        QTest::newRow("cancel") << "cancelButton" << int(QDialog::Rejected);
    }
    void inputQueryDialog() {
        QFETCH(QString, button);
        QFETCH(int, result);
        OwnedDialog form;
        layoutInputQuery(form, QStringLiteral("Новое название"), QStringLiteral("Название:"),
                         QStringLiteral("Старое"));
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("valueEdit"));
        QVERIFY(edit);
        QCOMPARE(edit->text(), QStringLiteral("Старое"));
        QCOMPARE(edit->selectedText(), QStringLiteral("Старое"));
        QCOMPARE(edit->maxLength(), 255);
        QVERIFY(form.findChild<QPushButton*>(QStringLiteral("okButton"))->isDefault());
        QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("okButton"))->text(),
                 QStringLiteral("OK"));
        QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("cancelButton"))->text(),
                 QStringLiteral("Отмена"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Новое название"));
        form.show();
        form.findChild<QPushButton*>(button)->click();
        QCOMPARE(form.result(), result);
        QVERIFY(!form.isVisible());
    }

    void hideAllTabSheetsHidesEveryTab() {
        QTabWidget pages;
        for (int i = 0; i < 3; ++i)
            pages.addTab(new QWidget, QStringLiteral("Страница %1").arg(i));
        hideAllTabSheets(&pages);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!pages.isTabVisible(i));
    }

    void execWithCursorRestoresAlsoOnError() {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        Qt::CursorShape inside = Qt::ArrowCursor;
        const QString message = messageOf([&] {
            execWithSQLWaitCursor([&] {
                inside = QGuiApplication::overrideCursor()->shape();
                throw Exception(QStringLiteral("ошибка"));
            });
        });
        QCOMPARE(message, QStringLiteral("ошибка"));
        QCOMPARE(inside, Qt::WaitCursor);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        QGuiApplication::restoreOverrideCursor();
        QVERIFY(!QGuiApplication::overrideCursor());

        execWithCursor(Qt::BusyCursor,
                       [&] { inside = QGuiApplication::overrideCursor()->shape(); });
        QCOMPARE(inside, Qt::BusyCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestWidgetHelpers)
#include "test_widget_helpers.moc"
