#include "shell/app_events.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// A list of twenty rows standing on row 10, focused in an active window.
struct FocusedList {
    QWidget window;
    QListWidget* list = new QListWidget(&window);
    FocusedList() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        for (int i = 0; i < 20; ++i)
            list->addItem(QString::number(i));
        list->setCurrentRow(10);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        list->setFocus();
    }
    void wheel(int delta, Qt::Orientation orientation = Qt::Vertical) {
        const QPoint at = list->viewport()->rect().center();
        const QPoint angle = orientation == Qt::Vertical ? QPoint(0, delta) : QPoint(delta, 0);
        QWheelEvent event(at, list->viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &event);
    }
};

// Counts the tool-tip requests that reach it.
class TipCounter : public QWidget {
public:
    int tips = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip)
            ++tips;
        return QWidget::event(e);
    }
};

} // namespace

class TestAppEvents : public QObject {
    Q_OBJECT
private slots:
    void wheelMovesTheFocusedRowOnePerNotch_data() {
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<int>("row");
        QTest::newRow("one notch up") << QList<int>{120} << 9;
        QTest::newRow("one notch down") << QList<int>{-120} << 11;
        QTest::newRow("two notches at once") << QList<int>{240} << 8;
        QTest::newRow("three notches down") << QList<int>{-120, -120, -120} << 13;
        QTest::newRow("half a notch") << QList<int>{60} << 10;
        QTest::newRow("two halves") << QList<int>{60, 60} << 9;
        QTest::newRow("up and back") << QList<int>{120, -120} << 10;
    }
    void wheelMovesTheFocusedRowOnePerNotch() {
        QFETCH(QList<int>, deltas);
        QFETCH(int, row);
        AppEvents events;
        FocusedList f;
        for (int delta : deltas)
            f.wheel(delta);
        QCOMPARE(f.list->currentRow(), row);
    }

    void sidewaysWheelIsNoRowMove() {
        AppEvents events;
        FocusedList f;
        f.wheel(120, Qt::Horizontal);
        QCOMPARE(f.list->currentRow(), 10);
    }

    void wheelWithoutTheFilterScrollsAsUsual() {
        FocusedList f;
        f.wheel(-120);
        QCOMPARE(f.list->currentRow(), 10);
    }

    void noToolTipReachesAWidget() {
        TipCounter widget;
        widget.setToolTip(QStringLiteral("подсказка"));
        QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(&widget, &tip);
        QCOMPARE(widget.tips, 1);
        AppEvents events;
        QApplication::sendEvent(&widget, &tip);
        QCOMPARE(widget.tips, 1);
    }

    void keyReleasesOfTheHelpMode_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("staysInMode");
        QTest::newRow("F1") << int(Qt::Key_F1) << true;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("letter") << int(Qt::Key_A) << false;
    }
    void keyReleasesOfTheHelpMode() {
        QFETCH(int, key);
        QFETCH(bool, staysInMode);
        AppEvents events;
        QWidget window;
        window.show();
        events.enterContextHelpMode();
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
        QTest::keyRelease(&window, Qt::Key(key));
        QCOMPARE(events.inContextHelpMode(), staysInMode);
        QCOMPARE(QApplication::overrideCursor() != nullptr, staysInMode);
    }

    void leftClickInHelpModeNamesTheWidgetAndLeaves() {
        AppEvents events;
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("Кнопка"), &window);
        auto* other = new QPushButton(QStringLiteral("Другая"), &window);
        other->move(0, 60);
        other->setEnabled(false);
        window.resize(200, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QList<QWidget*> named;
        events.setContextHelpHandler([&](QWidget* w, const QPoint&) { named << w; });

        events.enterContextHelpMode();
        QTest::mouseClick(button, Qt::RightButton);
        QVERIFY(events.inContextHelpMode());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!events.inContextHelpMode());
        QCOMPARE(named, QList<QWidget*>{button});
        QCOMPARE(clicked.count(), 0);

        // A disabled widget is named too; outside the mode a click is a click again.
        events.enterContextHelpMode();
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(named.last(), other);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(named.size(), 2);
    }
};

QTEST_MAIN(TestAppEvents)
#include "test_app_events.moc"
