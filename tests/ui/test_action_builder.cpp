#include "ui/action_builder.h"

#include <QAction>
#include <QHBoxLayout>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

// A button that shows a command, on a tool bar or in a plain row of a window.
class TestActionBuilder : public QObject {
    Q_OBJECT
private slots:
    // The button is shown and hidden with its action, from the state the action has when it
    // starts following; on a tool bar through its place, and a button shown again there looks
    // as enabled as its action is.
    void aButtonFollowsItsActionsVisibility_data() {
        QTest::addColumn<bool>("onToolBar");
        QTest::addColumn<bool>("hiddenFirst");
        QTest::newRow("on a tool bar") << true << false;
        QTest::newRow("on a tool bar, hidden first") << true << true;
        QTest::newRow("in a row") << false << false;
        QTest::newRow("in a row, hidden first") << false << true;
    }
    void aButtonFollowsItsActionsVisibility() {
        QFETCH(bool, onToolBar);
        QFETCH(bool, hiddenFirst);
        QWidget window;
        auto* row = new QHBoxLayout(&window);
        auto* bar = new QToolBar(&window);
        row->addWidget(bar);
        QAction* action = buildAction(
            &window, {.name = QStringLiteral("printAction"), .text = QStringLiteral("Печать")});
        QAction* other = buildAction(
            &window, {.name = QStringLiteral("closeAction"), .text = QStringLiteral("Закрыть")});
        QToolButton* button = nullptr;
        if (onToolBar) {
            button = addActionButton(bar, action, QStringLiteral("printButton"));
            addActionButton(bar, other, QStringLiteral("closeButton"));
        } else {
            button = new QToolButton(&window);
            button->setDefaultAction(action);
            row->addWidget(button);
        }
        action->setEnabled(false);
        action->setVisible(!hiddenFirst);
        followVisibility(button, action);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(button->isVisible(), !hiddenFirst);

        action->setVisible(false);
        QTRY_VERIFY(!button->isVisible());
        if (onToolBar)
            QVERIFY(!toolBarPlace(bar, button)->isVisible());
        action->setVisible(true);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(!button->isEnabled());
        action->setEnabled(true);
        QVERIFY(button->isEnabled());
        // Another command's visibility is not this button's.
        other->setVisible(false);
        QCoreApplication::processEvents();
        QVERIFY(button->isVisible());
    }
};

QTEST_MAIN(TestActionBuilder)
#include "test_action_builder.moc"
