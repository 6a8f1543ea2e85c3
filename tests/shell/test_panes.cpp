#include "tests/support/shell/pane_machine.h"

#include "core/exceptions.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "shell/first_start_pane.h"
#include "shell/upgrade_window.h"
#include "store/data_store.h"
#include "ui/action_builder.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>
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
        addToolButton(
            buildAction(
                this, {.name = QStringLiteral("aAction"), .text = QStringLiteral("А"), .image = 1}),
            QStringLiteral("aButton"));
    }
    int prepared = 0;
    PaneInfo* infoAtPrepare = nullptr;
    void prepare() override {
        ++prepared;
        infoAtPrepare = paneInfo();
    }
};

class PaneB : public Pane {
    Q_OBJECT
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

// What a pane saw of itself after its own command had it replaced.
struct Replacement {
    Pane* next = nullptr;
    bool stillThere = false;
    bool hidden = false;
    bool infoThere = false;
};

// A pane whose command "Дальше" asks the main window for the next pane.
class ForwardingPane : public Pane {
    Q_OBJECT
public:
    QString layoutKey() const override { return QStringLiteral("TfrmForwardingPane"); }
    ForwardingPane(QWidget* owner, Replacement* replacement)
        : Pane(owner), m_replacement(replacement) {
        setWindowTitle(QStringLiteral("Пересылка"));
        QAction* next = buildAction(
            this,
            {.name = QStringLiteral("nextAction"), .text = QStringLiteral("Дальше"), .image = 1});
        connect(next, &QAction::triggered, this, &ForwardingPane::onNextTriggered);
        addToolButton(next, QStringLiteral("nextButton"));
    }

private slots:
    void onNextTriggered() {
        // Read nothing of this pane unless it is known to be there still.
        Replacement* replacement = m_replacement;
        QPointer<Pane> self(this);
        replacement->next = MainWindowBase::current()->showPane<PaneB>();
        replacement->stillThere = !self.isNull();
        if (self) {
            replacement->hidden = !isVisible();
            replacement->infoThere = paneInfo() != nullptr;
        }
    }

private:
    Replacement* m_replacement;
};

QList<QToolBar*> dockedBars(MainWindowBase& main) {
    return main.paneToolBarHost()->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
}

// Notes, for each paint of the widgets it watches, whether the book was still open then.
class PaintWatch : public QObject {
public:
    QList<bool> bookOpen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            bookOpen << DataStore::instance().database().isAttached();
        return false;
    }
};

// The panes that the main window let go are freed once control is back in the event loop.
void freeRetiredPanes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestPanes : public QObject {
    Q_OBJECT
private slots:
    void showingAPaneReplacesTheCurrentOneAndItsToolBar() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        auto* splash = main.findChild<QWidget*>(QStringLiteral("splash"));
        QVERIFY(splash->isVisible());
        QVERIFY(!main.currentPane());

        bool firstInfoFreed = false;
        auto* info = new CountedInfo(&firstInfoFreed);
        auto* a = main.showPane<PaneA>(std::unique_ptr<PaneInfo>(info));
        QVERIFY(a);
        QCOMPARE(main.currentPane(), a);
        QCOMPARE(a->prepared, 1);
        QCOMPARE(a->infoAtPrepare, info);
        QCOMPARE(a->paneInfo(), info);
        QCOMPARE(a->parentWidget(), main.paneHost());
        QVERIFY(a->isVisible());
        QVERIFY(!splash->isVisible());
        QCOMPARE(main.paneTitle(), QStringLiteral("Первая"));
        QCOMPARE(dockedBars(main), QList<QToolBar*>{a->toolBar()});
        QVERIFY(a->toolBar()->isVisible());
        auto* aButton = main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("aButton"));
        QVERIFY(aButton);
        QCOMPARE(aButton->defaultAction(), a->findChild<QAction*>(QStringLiteral("aAction")));

        // The old pane and its tool bar leave the window at once and are freed later, the
        // parameter object with them.
        QPointer<Pane> oldPane = a;
        QPointer<QToolBar> oldBar = a->toolBar();
        auto* b = main.showPane<PaneB>();
        QVERIFY(b);
        QCOMPARE(main.currentPane(), b);
        QCOMPARE(dockedBars(main), QList<QToolBar*>{b->toolBar()});
        QVERIFY(!main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("aButton")));
        QVERIFY(oldPane && !oldPane->isVisible());
        QVERIFY(oldPane->parentWidget() != main.paneHost());
        QVERIFY(oldBar && !oldBar->isVisible());
        QVERIFY(!firstInfoFreed);
        freeRetiredPanes();
        QVERIFY(!oldPane);
        QVERIFY(!oldBar);
        QVERIFY(firstInfoFreed);
        QVERIFY(b->paneInfo()); // a plain parameter object when none is given
        QCOMPARE(main.paneTitle(), QStringLiteral("Вторая"));

        // About lets the pane and its tool bar go and shows the splash.
        QPointer<Pane> bPane = b;
        QPointer<QToolBar> bBar = b->toolBar();
        main.aboutAction()->trigger();
        QVERIFY(!main.currentPane());
        QVERIFY(dockedBars(main).isEmpty());
        QVERIFY(!bPane->isVisible());
        QVERIFY(splash->isVisible());
        QCOMPARE(main.paneTitle(), QStringLiteral("О программе..."));
        freeRetiredPanes();
        QVERIFY(!bPane);
        QVERIFY(!bBar);
        QVERIFY(m.messages.isEmpty());
    }

    void aPaneReplacedByItsOwnCommandOutlivesTheCommand() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        Replacement replacement;
        bool infoFreed = false;
        Pane* forwarding =
            main.showPane([&](QWidget* owner) { return new ForwardingPane(owner, &replacement); },
                          std::make_unique<CountedInfo>(&infoFreed));
        QVERIFY(forwarding);
        QPointer<Pane> guard = forwarding;
        QPointer<QToolBar> bar = forwarding->toolBar();

        // The user presses the pane's own tool button.
        auto* next = main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("nextButton"));
        QVERIFY(next);
        next->click();
        QVERIFY(replacement.next);
        QCOMPARE(main.currentPane(), replacement.next);
        QVERIFY(qobject_cast<PaneB*>(main.currentPane()));
        QVERIFY(replacement.stillThere);
        QVERIFY(replacement.hidden);
        QVERIFY(replacement.infoThere);
        QCOMPARE(dockedBars(main), QList<QToolBar*>{main.currentPane()->toolBar()});
        QCOMPARE(main.paneTitle(), QStringLiteral("Вторая"));
        QVERIFY(guard && bar && !infoFreed);
        freeRetiredPanes();
        QVERIFY(!guard);
        QVERIFY(!bar);
        QVERIFY(infoFreed);
        QVERIFY(m.messages.isEmpty());
    }

    void aPaneThatFailsToPrepareIsDroppedAndTheSplashShows() {
        PaneMachine m(BookKind::BankAccount, QStringLiteral("Счет"));
        ShellWindow& main = m.start();
        main.showPane<PaneA>();
        QVERIFY(!main.showPane<FailingPane>());
        QVERIFY(!main.currentPane());
        QVERIFY(dockedBars(main).isEmpty());
        QVERIFY(main.findChild<QWidget*>(QStringLiteral("splash"))->isVisible());
        QCOMPARE(main.paneTitle(), QStringLiteral("Счет"));
        QCOMPARE(m.messages, QStringList{QStringLiteral("Таблица недоступна")});
        freeRetiredPanes();
        QVERIFY(main.findChildren<FailingPane*>().isEmpty());
        QVERIFY(main.findChildren<PaneA*>().isEmpty());
        // The next pane shows as usual.
        QVERIFY(main.showPane<PaneB>());
        QCOMPARE(dockedBars(main).size(), 1);
    }

    void atExitTheSplashAloneFillsThePaneAreaAndPaints() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        auto* a = main.showPane<PaneA>();
        QVERIFY(a);
        auto* splash = main.findChild<QWidget*>(QStringLiteral("splash"));
        auto* shutDown = main.findChild<QWidget*>(QStringLiteral("shutDownPanel"));
        PaintWatch painted;
        shutDown->installEventFilter(&painted);
        QVERIFY(main.close());
        QVERIFY(a->isHidden());
        QVERIFY(a->toolBar()->isHidden());
        QVERIFY(!splash->isHidden());
        QVERIFY(shutDown->isVisibleTo(splash));
        QCOMPARE(splash->geometry(), main.paneHost()->contentsRect());
        // The shutdown line was on the screen before the book was closed and backed up.
        QVERIFY(painted.bookOpen.contains(true));
        QVERIFY(m.messages.isEmpty());
    }

    void theFirstStartPaneShowsUntilTheUserSaysNo() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"), true);
        ShellWindow& main = m.start();
        auto* first = qobject_cast<FirstStartPane*>(main.currentPane());
        QVERIFY(first);
        QCOMPARE(main.paneTitle(), QStringLiteral("Kaltro"));
        QVERIFY(first->showAgainCheck()->isChecked());
        // No help file here: the change list takes the help page's place.
        QVERIFY(!first->whatsNewBrowser()->isVisibleTo(first));
        QVERIFY(first->versionInfoEdit()->isVisibleTo(first));
        QCOMPARE(first->versionInfoEdit()->toPlainText(), UpgradeWindow::changeList());
        first->showAgainCheck()->click();
        QCOMPARE(IniFile(m.ini).readInteger("Startup", "NoStartupDialog", -1), 1);
        QVERIFY(!FirstStartPane::shouldShowAtStartup());
        first->showAgainCheck()->click();
        QCOMPARE(IniFile(m.ini).readInteger("Startup", "NoStartupDialog", -1), 0);
        QVERIFY(FirstStartPane::shouldShowAtStartup());
    }

    void theFirstStartPaneStaysAwayWhenTheIniSaysNo() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"), false);
        ShellWindow& main = m.start();
        QVERIFY(!main.currentPane());
        QCOMPARE(main.paneTitle(), QStringLiteral("Касса"));
    }
};

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
