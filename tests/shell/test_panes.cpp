#include "paneTestSupport.h"

#include "platform/IniFile.h"
#include "shell/fmFirstStart.h"
#include "store/fmUpdate.h"

#include "store/uNewDatabase.h"
#include "util/uExceptions.h"
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
struct TCountedInfo : TPaneInfo {
    bool* freed;
    explicit TCountedInfo(bool* f) : freed(f) {}
    ~TCountedInfo() override { *freed = true; }
};

class TfrmPaneA : public TfrmPane {
public:
    explicit TfrmPaneA(QWidget* owner) : TfrmPane(owner) {
        setWindowTitle(QStringLiteral("Первая"));
        AddToolButton(QStringLiteral("btnA"), QStringLiteral("А"), 1, 0);
    }
    int prepared = 0;
    TPaneInfo* infoAtPrepare = nullptr;
    void Prepare() override {
        ++prepared;
        infoAtPrepare = PaneInfo();
    }
};

class TfrmPaneB : public TfrmPane {
public:
    explicit TfrmPaneB(QWidget* owner) : TfrmPane(owner) {
        setWindowTitle(QStringLiteral("Вторая"));
    }
};

class TfrmFailingPane : public TfrmPane {
public:
    explicit TfrmFailingPane(QWidget* owner) : TfrmPane(owner) {
        setWindowTitle(QStringLiteral("Сбойная"));
    }
    void Prepare() override { throw Exception(QStringLiteral("Таблица недоступна")); }
};

QList<QToolBar*> dockedBars(TfrmMainProto& main) {
    return main.pnlBrowserMenu->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestPanes : public QObject {
    Q_OBJECT
private slots:
    void showingAPaneReplacesTheCurrentOneAndItsToolBar() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        auto* splash = main.findChild<QWidget*>(QStringLiteral("pnlSplash"));
        QVERIFY(splash->isVisible());
        QVERIFY(!main.CurrentPane);

        bool firstInfoFreed = false;
        auto* info = new TCountedInfo(&firstInfoFreed);
        auto* a = main.ShowPane<TfrmPaneA>(std::unique_ptr<TPaneInfo>(info));
        QVERIFY(a);
        QCOMPARE(main.CurrentPane, a);
        QCOMPARE(a->prepared, 1);
        QCOMPARE(a->infoAtPrepare, info);
        QCOMPARE(a->parentWidget(), main.PaneHost);
        QVERIFY(a->isVisible());
        QVERIFY(!splash->isVisible());
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Первая"));
        QCOMPARE(dockedBars(main), QList<QToolBar*>{a->tlbarBrowserMenu});
        QVERIFY(a->tlbarBrowserMenu->isVisible());
        QVERIFY(main.pnlBrowserMenu->findChild<QToolButton*>(QStringLiteral("btnA")));

        QPointer<TfrmPane> oldPane = a;
        QPointer<QToolBar> oldBar = a->tlbarBrowserMenu;
        auto* b = main.ShowPane<TfrmPaneB>();
        QVERIFY(b);
        QVERIFY(!oldPane);
        QVERIFY(!oldBar);
        QVERIFY(firstInfoFreed);
        QVERIFY(b->PaneInfo()); // a plain parameter object when none is given
        QCOMPARE(main.CurrentPane, b);
        QCOMPARE(dockedBars(main), QList<QToolBar*>{b->tlbarBrowserMenu});
        QVERIFY(!main.pnlBrowserMenu->findChild<QToolButton*>(QStringLiteral("btnA")));
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Вторая"));

        // About frees the pane and its tool bar and shows the splash.
        QPointer<QToolBar> bBar = b->tlbarBrowserMenu;
        main.mnitAboutClick();
        QVERIFY(!main.CurrentPane);
        QVERIFY(!bBar);
        QVERIFY(splash->isVisible());
        QVERIFY(m.messages.isEmpty());
    }

    void aPaneThatFailsToPrepareIsDroppedAndTheSplashShows() {
        TPaneMachine m(otBankAccount, QStringLiteral("Счет"));
        TfrmMain& main = m.start();
        main.ShowPane<TfrmPaneA>();
        QVERIFY(!main.ShowPane<TfrmFailingPane>());
        QVERIFY(!main.CurrentPane);
        QVERIFY(main.findChildren<TfrmFailingPane*>().isEmpty());
        QVERIFY(main.findChildren<TfrmPaneA*>().isEmpty());
        QVERIFY(dockedBars(main).isEmpty());
        QVERIFY(main.findChild<QWidget*>(QStringLiteral("pnlSplash"))->isVisible());
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Счет"));
        QCOMPARE(m.messages, QStringList{QStringLiteral("Таблица недоступна")});
        // The next pane shows as usual.
        QVERIFY(main.ShowPane<TfrmPaneB>());
        QCOMPARE(dockedBars(main).size(), 1);
    }

    void theFirstStartPaneShowsUntilTheUserSaysNo() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"), true);
        TfrmMain& main = m.start();
        auto* first = qobject_cast<TfrmFirstStart*>(main.CurrentPane);
        QVERIFY(first);
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Kaltro"));
        QVERIFY(first->chbxShowAgain->isChecked());
        // No help file here: the change list takes the help page's place.
        QVERIFY(!first->helpViewer->isVisibleTo(first));
        QVERIFY(first->mmVersionInfo->isVisibleTo(first));
        QCOMPARE(first->mmVersionInfo->toPlainText(), TfrmUpdate::ChangeList());
        first->chbxShowAgain->click();
        QCOMPARE(TIniFile(m.ini).ReadInteger("Startup", "NoStartupDialog", -1), 1);
        QVERIFY(!TfrmFirstStart::ShowAtStartup());
        first->chbxShowAgain->click();
        QCOMPARE(TIniFile(m.ini).ReadInteger("Startup", "NoStartupDialog", -1), 0);
        QVERIFY(TfrmFirstStart::ShowAtStartup());
    }

    void theFirstStartPaneStaysAwayWhenTheIniSaysNo() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"), false);
        TfrmMain& main = m.start();
        QVERIFY(!main.CurrentPane);
        QCOMPARE(main.pnlBrowser->text(), QStringLiteral("Касса"));
    }
};

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
