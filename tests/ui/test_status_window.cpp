#include "ui/status_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

// The dark pixels of the window as the screen shows it now: its text.
int darkPixelsOnScreen(QWidget& window) {
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) < 80)
                ++dark;
    return dark;
}

} // namespace

// The window that says what a long operation does, on a real X display: it is on the screen
// with its text before the caller blocks, and each new text is there at once.
class TestStatusWindow : public QObject {
    Q_OBJECT
private slots:
    void paintedBeforeTheCallerBlocks() {
        StatusWindow status(nullptr, QStringLiteral("Печать..."));
        status.setText(QStringLiteral("Запуск Microsoft Word..."));
        status.showNow();
        QVERIFY(status.windowHandle()->isExposed());
        QCOMPARE(status.windowTitle(), QStringLiteral("Печать..."));
        QVERIFY(darkPixelsOnScreen(status) > 50);

        status.setText(QString());
        QCOMPARE(darkPixelsOnScreen(status), 0);
        status.setText(QStringLiteral("Печать документа..."));
        QCOMPARE(status.text(), QStringLiteral("Печать документа..."));
        QVERIFY(darkPixelsOnScreen(status) > 50);
    }

    // Showing and painting let no timer of the program run (a poll of an edit would ask its
    // question in the middle of a print): a timer that is due fires only once the caller is
    // back in the event loop.
    void paintingRunsNoTimer() {
        int fired = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&fired] { ++fired; });
        poll.start(0);
        QTest::qWait(20);
        QVERIFY(fired > 0);
        fired = 0;
        {
            StatusWindow status(nullptr, QStringLiteral("Печать..."));
            status.setText(QStringLiteral("Запуск Microsoft Word..."));
            status.showNow();
            QVERIFY(status.windowHandle()->isExposed());
            for (const char* text : {"Создание документа...", "Печать документа..."}) {
                QTest::qSleep(10);
                status.setText(QString::fromUtf8(text));
            }
            QVERIFY(darkPixelsOnScreen(status) > 50);
            QCOMPARE(fired, 0);
        }
        QTRY_VERIFY(fired > 0);
    }
};

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
