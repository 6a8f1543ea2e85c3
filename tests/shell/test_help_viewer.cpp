#include "shell/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace help;

namespace {

// A help file of three topics, a context map and two pop-ups.
struct HelpFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kaltro.chm"));
    HelpFile() {
        write(QStringLiteral("index.htm"), "<html><body>Оглавление</body></html>");
        write(QStringLiteral("startup/whatsnew.htm"), "<html><body>Новое в версии</body></html>");
        write(QStringLiteral("docs/income.htm"), "<html><body>Приход денег</body></html>");
        write(QStringLiteral("Map.txt"), "1=startup/whatsnew.htm\n5000 = docs/income.htm\nx=y\n");
        write(QStringLiteral("Context.txt"), ".topic 1020\nСведения о программе.\n"
                                             "Вторая строка.\n"
                                             ".topic 1021\n  Выход из программы.  \n");
    }
    void write(const QString& name, const char* text) {
        const QString file = path + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

QWidget* helpViewer() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("helpViewer") && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void topicFiles_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("file");
        QTest::newRow("no topic: index") << ""
                                         << "index.htm";
        QTest::newRow("topic") << "::/docs/income.htm"
                               << "docs/income.htm";
        QTest::newRow("window name ignored") << "::/startup/whatsnew.htm>update_info"
                                             << "startup/whatsnew.htm";
        QTest::newRow("missing topic") << "::/docs/none.htm"
                                       << "";
        QTest::newRow("outside the help") << "::/../secret.htm"
                                          << "";
        QTest::newRow("absolute path") << "::/etc/passwd"
                                       << "";
    }
    void topicFiles() {
        QFETCH(QString, address);
        QFETCH(QString, file);
        HelpFile help;
        const QString expected = file.isEmpty() ? QString() : help.path + QLatin1Char('/') + file;
        QCOMPARE(topicFile(help.path + address), expected);
    }

    void missingHelpFileIsSilent() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kaltro.chm"));
        QVERIFY(topicFile(path).isEmpty());
        QVERIFY(contextTopic(path, 1).isEmpty());
        QVERIFY(!displayTopic(path));
        QVERIFY(!displayContextTopic(path, 1));
        QVERIFY(!displayTextPopup(path + QStringLiteral("::/Context.txt"), 1020, QPoint(10, 10)));
        // A file of another kind under that name is no help either.
        QFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("ITSF");
        other.close();
        QVERIFY(topicFile(path).isEmpty());
        QVERIFY(!helpViewer());
    }

    void contextNumbersAndPopupTexts() {
        HelpFile help;
        QCOMPARE(contextTopic(help.path, 1), QStringLiteral("startup/whatsnew.htm"));
        QCOMPARE(contextTopic(help.path, 5000), QStringLiteral("docs/income.htm"));
        QVERIFY(contextTopic(help.path, 2).isEmpty());
        QVERIFY(contextTopic(help.path, 0).isEmpty());
        const QString popups = help.path + QStringLiteral("::/Context.txt");
        QCOMPARE(popupText(popups, 1020), QStringLiteral("Сведения о программе.\nВторая строка."));
        QCOMPARE(popupText(popups, 1021), QStringLiteral("Выход из программы."));
        QVERIFY(popupText(popups, 1022).isEmpty());
    }

    void popupStaysInsideTheScreen_data() {
        QTest::addColumn<QRect>("popup");
        QTest::addColumn<QPoint>("at");
        const QRect screen(0, 0, 1600, 1000);
        QTest::newRow("inside") << QRect(100, 100, 200, 50) << QPoint(100, 100);
        QTest::newRow("touches the right edge") << QRect(1400, 100, 200, 50) << QPoint(1400, 100);
        QTest::newRow("past the right edge") << QRect(1500, 100, 200, 50) << QPoint(1400, 100);
        QTest::newRow("past the bottom") << QRect(100, 980, 200, 50) << QPoint(100, 950);
        QTest::newRow("past both") << QRect(1590, 990, 200, 50) << QPoint(1400, 950);
        QTest::newRow("wider than the screen") << QRect(10, 10, 2000, 50) << QPoint(0, 10);
    }
    void popupStaysInsideTheScreen() {
        QFETCH(QRect, popup);
        QFETCH(QPoint, at);
        QCOMPARE(keepOnScreen(popup, QRect(0, 0, 1600, 1000)), at);
        // A second screen to the right keeps its own edges.
        QCOMPARE(keepOnScreen(popup.translated(1600, 0), QRect(1600, 0, 1600, 1000)),
                 at + QPoint(1600, 0));
    }

    void popupShowsItsTextAndReplacesTheLastOne() {
        HelpFile help;
        const QString popups = help.path + QStringLiteral("::/Context.txt");
        QPointer<QWidget> first = displayTextPopup(popups, 1020, QPoint(5, 5));
        QVERIFY(first);
        QCOMPARE(first->objectName(), QStringLiteral("helpPopup"));
        QCOMPARE(qobject_cast<QLabel*>(first.data())->text(),
                 QStringLiteral("Сведения о программе.\nВторая строка."));
        QVERIFY(first->isVisible());
        QVERIFY(first->windowFlags() & Qt::WindowStaysOnTopHint);
        QPointer<QWidget> second = displayTextPopup(popups, 1021, QPoint(5, 5));
        QVERIFY(second && second->isVisible());
        QTRY_VERIFY(!first || !first->isVisible());
        QTest::keyClick(second.data(), Qt::Key_Space);
        QTRY_VERIFY(!second || !second->isVisible());
    }

    void topicsOpenInTheViewer() {
        HelpFile help;
        QVERIFY(displayContextTopic(help.path, 5000));
        QWidget* viewer = helpViewer();
        QVERIFY(viewer);
        auto* browser = viewer->findChild<QTextBrowser*>("topicBrowser");
        QVERIFY(browser);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Приход денег")));
        QVERIFY(displayTopic(help.path));
        QCOMPARE(helpViewer(), viewer);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Оглавление")));
        QVERIFY(!displayContextTopic(help.path, 7));
        viewer->close();
    }

    void helpContextOfAWidgetOrItsParent() {
        QWidget window;
        auto* panel = new QWidget(&window);
        auto* inner = new QWidget(panel);
        setHelpContext(panel, 1022);
        QCOMPARE(helpContext(inner), 0);
        QCOMPARE(helpContextAt(inner), 1022);
        setHelpContext(inner, 1023);
        QCOMPARE(helpContextAt(inner), 1023);
        QCOMPARE(helpContextAt(&window), 0);
        QCOMPARE(helpContextAt(nullptr), 0);
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_help_viewer.moc"
