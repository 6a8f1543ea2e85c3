#include "ui/status_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>
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
};

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
