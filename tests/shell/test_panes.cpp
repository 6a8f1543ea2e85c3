#include "tests/support/shell/pane_machine.h"

#include "core/ini_file.h"
#include "shell/first_start_pane.h"
#include "shell/upgrade_window.h"

#include "core/exceptions.h"
#include "store/new_book.h"
#include <QPlainTextEdit>
#include <QTextBrowser>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// A parameter object that says when it is freed.
struct CountedInfo : PaneInfo {
    bool* freed;
    explicit CountedInfo(bool* f) : freed(f) {}
    ~CountedInfo() override { *freed = true; }
};

class PaneA : public Pane {
public:
    QString layoutKey() const override { return QStringLiteral("TfrmPaneA"); }
    explicit PaneA(QWidget* owner) : Pane(owner) {
        setWindowTitle(QStringLiteral("Первая"));
        addToolButton(QStringLiteral("btnA"), QStringLiteral("А"), 1, 0);
    }
    int prepared = 0;
    PaneInfo* infoAtPrepare = nullptr;
    void prepare() override {
        ++prepared;
        infoAtPrepare = paneInfo();
    }
};

class PaneB : public Pane {
public:
    QString layoutKey() const override { return QStringLiteral("TfrmPaneB"); }
    explicit PaneB(QWidget* owner) : Pane(owner) { setWindowTitle(QStringLiteral("Вторая")); }
};

class FailingPane : public Pane {
public:
    QString layoutKey() const override { return QStringLiteral("TfrmFailingPane"); }
    explicit FailingPane(QWidget* owner) : Pane(owner) {
        setWindowTitle(QStringLiteral("Сбойная"));
    }
    void prepare() override { throw Exception(QStringLiteral("Таблица недоступна")); }
};

QList<QToolBar*> dockedBars(MainWindowBase& main) {
    return main.m_paneToolBarHost->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestPanes : public QObject {
    Q_OBJECT
private slots:
    void showingAPaneReplacesTheCurrentOneAndItsToolBar() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        auto* splash = main.findChild<QWidget*>(QStringLiteral("pnlSplash"));
        QVERIFY(splash->isVisible());
        QVERIFY(!main.m_currentPane);

        bool firstInfoFreed = false;
        auto* info = new CountedInfo(&firstInfoFreed);
        auto* a = main.showPane<PaneA>(std::unique_ptr<PaneInfo>(info));
        QVERIFY(a);
        QCOMPARE(main.m_currentPane, a);
        QCOMPARE(a->prepared, 1);
        QCOMPARE(a->infoAtPrepare, info);
        QCOMPARE(a->parentWidget(), main.m_paneHost);
        QVERIFY(a->isVisible());
        QVERIFY(!splash->isVisible());
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Первая"));
        QCOMPARE(dockedBars(main), QList<QToolBar*>{a->m_paneToolBar});
        QVERIFY(a->m_paneToolBar->isVisible());
        QVERIFY(main.m_paneToolBarHost->findChild<QToolButton*>(QStringLiteral("btnA")));

        QPointer<Pane> oldPane = a;
        QPointer<QToolBar> oldBar = a->m_paneToolBar;
        auto* b = main.showPane<PaneB>();
        QVERIFY(b);
        QVERIFY(!oldPane);
        QVERIFY(!oldBar);
        QVERIFY(firstInfoFreed);
        QVERIFY(b->paneInfo()); // a plain parameter object when none is given
        QCOMPARE(main.m_currentPane, b);
        QCOMPARE(dockedBars(main), QList<QToolBar*>{b->m_paneToolBar});
        QVERIFY(!main.m_paneToolBarHost->findChild<QToolButton*>(QStringLiteral("btnA")));
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Вторая"));

        // About frees the pane and its tool bar and shows the splash.
        QPointer<QToolBar> bBar = b->m_paneToolBar;
        main.onAboutTriggered();
        QVERIFY(!main.m_currentPane);
        QVERIFY(!bBar);
        QVERIFY(splash->isVisible());
        QVERIFY(m.messages.isEmpty());
    }

    void aPaneThatFailsToPrepareIsDroppedAndTheSplashShows() {
        PaneMachine m(BookKind::BankAccount, QStringLiteral("Счет"));
        ShellWindow& main = m.start();
        main.showPane<PaneA>();
        QVERIFY(!main.showPane<FailingPane>());
        QVERIFY(!main.m_currentPane);
        QVERIFY(main.findChildren<FailingPane*>().isEmpty());
        QVERIFY(main.findChildren<PaneA*>().isEmpty());
        QVERIFY(dockedBars(main).isEmpty());
        QVERIFY(main.findChild<QWidget*>(QStringLiteral("pnlSplash"))->isVisible());
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Счет"));
        QCOMPARE(m.messages, QStringList{QStringLiteral("Таблица недоступна")});
        // The next pane shows as usual.
        QVERIFY(main.showPane<PaneB>());
        QCOMPARE(dockedBars(main).size(), 1);
    }

    void theFirstStartPaneShowsUntilTheUserSaysNo() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"), true);
        ShellWindow& main = m.start();
        auto* first = qobject_cast<FirstStartPane*>(main.m_currentPane);
        QVERIFY(first);
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Kaltro"));
        QVERIFY(first->m_showAgainCheck->isChecked());
        // No help file here: the change list takes the help page's place.
        QVERIFY(!first->m_helpViewer->isVisibleTo(first));
        QVERIFY(first->m_versionInfoEdit->isVisibleTo(first));
        QCOMPARE(first->m_versionInfoEdit->toPlainText(), UpgradeWindow::changeList());
        first->m_showAgainCheck->click();
        QCOMPARE(IniFile(m.ini).readInteger("Startup", "NoStartupDialog", -1), 1);
        QVERIFY(!FirstStartPane::shouldShowAtStartup());
        first->m_showAgainCheck->click();
        QCOMPARE(IniFile(m.ini).readInteger("Startup", "NoStartupDialog", -1), 0);
        QVERIFY(FirstStartPane::shouldShowAtStartup());
    }

    void theFirstStartPaneStaysAwayWhenTheIniSaysNo() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"), false);
        ShellWindow& main = m.start();
        QVERIFY(!main.m_currentPane);
        QCOMPARE(main.m_paneTitleLabel->text(), QStringLiteral("Касса"));
    }
};

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
