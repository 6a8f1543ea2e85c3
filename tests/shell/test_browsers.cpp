#include "tests/support/shell/book_machine.h"
#include "tests/support/shell/pane_machine.h"

#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/period_browser_pane.h"
#include "shell/period_dialog.h"
#include "store/new_book.h"
#include "ui/data_grid.h"

#include <QApplication>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QString stamp(DateTime value) {
    return datetime::decode(value).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz"));
}

// One statement on the data store's open book, committed.
void executeOnStore(const QString& sql, const QVariantMap& params = {}) {
    fb::Statement& q = DataStore::instance().query();
    q.close();
    q.prepare(sql, fb::ParamMode::Named);
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (it.value().typeId() == QMetaType::Int)
            q.param(it.key()).setInteger(it.value().toInt());
        else
            q.param(it.key()).setString(it.value().toString());
    }
    DataStore::instance().transaction().ensureStarted();
    q.execute();
    DataStore::instance().transaction().commit();
}

int addPayer(const QString& name) {
    const int key = DataStore::instance().newKey(QStringLiteral("PARTS"));
    executeOnStore(QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (:K, 1, :N)"),
                   {{"K", key}, {"N", name}});
    return key;
}

// A period browser of the payers: it notes each query it writes and each row it opens.
class PayersBrowser : public PeriodBrowserPane {
    Q_OBJECT
public:
    QString layoutKey() const override { return QStringLiteral("TfrmPayersBrowser"); }
    explicit PayersBrowser(QWidget* owner) : PeriodBrowserPane(owner) {
        setWindowTitle(QStringLiteral("Плательщики"));
        setGridColumns(*grid(), {{"PRKEY", Qt::AlignRight, "Код", 60},
                                 {"LNAM", Qt::AlignLeft, "Название", 200}});
    }
    int prepared = 0;
    Period periodRead;
    QList<int> opened;
    void prepareQuery() override {
        ++prepared;
        periodRead = sharedPeriod();
        query().setSQL(
            QStringLiteral("SELECT PRKEY, LNAM FROM PARTS WHERE TYP=:TYP ORDER BY LNAM"));
        query().setParam(QStringLiteral("TYP"), 1);
        setPeriodCaption(periodDateText(periodRead.start) + "-" + periodDateText(periodRead.end));
    }
    int currentKey() { return int(query().field(QStringLiteral("PRKEY")).asInteger()); }
    int news = 0;

protected:
    void onNewTriggered() override { ++news; }
    void onOpenTriggered() override {
        if (!query().isEmpty())
            opened << int(query().field(QStringLiteral("PRKEY")).asInteger());
    }
};

class OtherPayersBrowser : public PayersBrowser {
    Q_OBJECT
public:
    using PayersBrowser::PayersBrowser;
    QString layoutKey() const override { return QStringLiteral("TfrmOtherPayersBrowser"); }
};

// Runs action once the period dialog is shown modally.
void whenPeriodDialogShows(const std::function<void(PeriodDialog&)>& action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no period dialog");
        action(*dialog);
    });
}

} // namespace

class TestBrowsers : public QObject {
    Q_OBJECT
private slots:
    void init() { datetime::setNowForTesting({}); }

    void periodShortcuts_data() {
        QTest::addColumn<DateTime>("now");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        const DateTime leapMarch1 = datetime::encodeDate(2024, 3, 1) + 0.75;
        const DateTime commonMarch1 = datetime::encodeDate(2023, 3, 1) + 0.25;
        const DateTime march31 = datetime::encodeDate(2023, 3, 31) + 0.5;
        const DateTime feb29 = datetime::encodeDate(2024, 2, 29) + 0.999;
        const int day = int(PeriodKind::Day), month = int(PeriodKind::Month),
                  quarter = int(PeriodKind::Quarter), year = int(PeriodKind::Year);
        auto row = [](const char* name, DateTime now, int kind, const char* caption,
                      const char* start, const char* end) {
            QTest::newRow(name) << now << kind << QString::fromUtf8(caption)
                                << QString::fromLatin1(start) << QString::fromLatin1(end);
        };
        row("leap 1 March, day", leapMarch1, day, "День 01.03.2024", "01.03.2024", "02.03.2024");
        row("leap 1 March, month", leapMarch1, month, "Месяц c 30.01.2024", "01.02.2024",
            "02.03.2024");
        row("leap 1 March, quarter", leapMarch1, quarter, "Квартал c 30.11.2023", "30.11.2023",
            "02.03.2024");
        row("leap 1 March, year", leapMarch1, year, "Год c 02.03.2023", "01.03.2023", "02.03.2024");
        row("common 1 March, day", commonMarch1, day, "День 01.03.2023", "01.03.2023",
            "02.03.2023");
        row("common 1 March, month", commonMarch1, month, "Месяц c 29.01.2023", "01.02.2023",
            "02.03.2023");
        row("common 1 March, quarter", commonMarch1, quarter, "Квартал c 29.11.2022", "29.11.2022",
            "02.03.2023");
        row("common 1 March, year", commonMarch1, year, "Год c 01.03.2022", "01.03.2022",
            "02.03.2023");
        row("31 March, month", march31, month, "Месяц c 28.02.2023", "28.02.2023", "01.04.2023");
        row("31 March, quarter", march31, quarter, "Квартал c 29.12.2022", "29.12.2022",
            "01.04.2023");
        row("29 February, day", feb29, day, "День 29.02.2024", "29.02.2024", "01.03.2024");
        row("29 February, month", feb29, month, "Месяц c 29.01.2024", "29.01.2024", "01.03.2024");
        row("29 February, year", feb29, year, "Год c 01.03.2023", "28.02.2023", "01.03.2024");
    }
    void periodShortcuts() {
        QFETCH(DateTime, now);
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QCOMPARE(shortcutCaption(PeriodKind(kind), now), caption);
        const Period period = shortcutPeriod(PeriodKind(kind), now);
        QCOMPARE(stamp(period.start), start + " 00:00:00.000");
        QCOMPARE(stamp(period.end), end + " 23:59:59.999");
    }

    void aShortcutSetsTheSharedPeriodThatTheNextBrowserReads() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        const DateTime now = datetime::encodeDate(2024, 3, 1) + 0.5;
        datetime::setNowForTesting([now] { return now; });
        ShellWindow& main = m.start();
        auto* browser = main.showPane<PayersBrowser>();
        QVERIFY(browser);
        QCOMPARE(browser->prepared, 1);
        QCOMPARE(browser->periodRead.start, now - 31);
        QCOMPARE(browser->periodRead.end, now + 10);
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("30.01.2024-11.03.2024"));
        QCOMPARE(browser->periodButton()->menu(), browser->periodMenu());

        emit browser->periodMenu()->aboutToShow();
        QCOMPARE(browser->periodAction(PeriodKind::Day)->text(), QStringLiteral("День 01.03.2024"));
        QCOMPARE(browser->periodAction(PeriodKind::Month)->text(),
                 QStringLiteral("Месяц c 30.01.2024"));
        QCOMPARE(browser->periodAction(PeriodKind::Quarter)->text(),
                 QStringLiteral("Квартал c 30.11.2023"));
        QCOMPARE(browser->periodAction(PeriodKind::Year)->text(),
                 QStringLiteral("Год c 02.03.2023"));
        QCOMPARE(
            browser->periodMenu()->actions(),
            (QList<QAction*>{browser->selectPeriodAction(), browser->periodAction(PeriodKind::Year),
                             browser->periodAction(PeriodKind::Quarter),
                             browser->periodAction(PeriodKind::Month),
                             browser->periodAction(PeriodKind::Day)}));

        browser->periodAction(PeriodKind::Month)->trigger();
        QCOMPARE(browser->prepared, 2);
        QCOMPARE(stamp(main.browsePeriod().start), QStringLiteral("01.02.2024 00:00:00.000"));
        QCOMPARE(stamp(main.browsePeriod().end), QStringLiteral("02.03.2024 23:59:59.999"));
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("01.02.2024-02.03.2024"));

        auto* other = main.showPane<OtherPayersBrowser>();
        QCOMPARE(stamp(other->periodRead.start), QStringLiteral("01.02.2024 00:00:00.000"));
        QCOMPARE(stamp(other->periodRead.end), QStringLiteral("02.03.2024 23:59:59.999"));
        QVERIFY(m.messages.isEmpty());
    }

    void thePeriodDialogReplacesThePeriodOnlyOnOK() {
        PaneMachine m(BookKind::BankAccount, QStringLiteral("Счет"));
        ShellWindow& main = m.start();
        auto* browser = main.showPane<PayersBrowser>();
        const Period before = PeriodBrowserPane::sharedPeriod();

        whenPeriodDialogShows([&](PeriodDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Период просмотра записей"));
            QCOMPARE(dialog.objectName(), QStringLiteral("periodDialog"));
            QCOMPARE(dialog.startDateEdit()->date(), datetime::decodeDate(before.start));
            dialog.startDateEdit()->setDate(QDate(2024, 2, 10));
            dialog.cancelButton()->click();
        });
        browser->selectPeriodAction()->trigger();
        QCOMPARE(main.browsePeriod().start, before.start);
        QCOMPARE(main.browsePeriod().end, before.end);
        QCOMPARE(browser->prepared, 1);

        whenPeriodDialogShows([&](PeriodDialog& dialog) {
            dialog.startDateEdit()->setDate(QDate(2024, 2, 10));
            dialog.endDateEdit()->setDate(QDate(2024, 2, 29));
            // Enter moves on to the next field instead of closing the dialog.
            dialog.startDateEdit()->setFocus();
            QTest::keyClick(dialog.startDateEdit(), Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            dialog.okButton()->click();
        });
        browser->selectPeriodAction()->trigger();
        QCOMPARE(stamp(main.browsePeriod().start), QStringLiteral("10.02.2024 00:00:00.000"));
        QCOMPARE(stamp(main.browsePeriod().end), QStringLiteral("29.02.2024 23:59:59.999"));
        QCOMPARE(browser->prepared, 2);
    }

    // An end before the start is refused with a warning, the dialog staying open, and the shared
    // period stays as it was once the dialog is cancelled; a period of one day or more replaces
    // it.
    void thePeriodDialogRefusesAnEndBeforeTheStart_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("the end a month before the start")
            << QDate(2026, 11, 30) << QDate(2026, 11, 1) << false;
        QTest::newRow("the end a day before the start")
            << QDate(2026, 11, 2) << QDate(2026, 11, 1) << false;
        QTest::newRow("one day") << QDate(2026, 11, 1) << QDate(2026, 11, 1) << true;
        QTest::newRow("a month") << QDate(2026, 11, 1) << QDate(2026, 11, 30) << true;
    }
    void thePeriodDialogRefusesAnEndBeforeTheStart() {
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(bool, accepted);
        PaneMachine m(BookKind::BankAccount, QStringLiteral("Счет"));
        ShellWindow& main = m.start();
        auto* browser = main.showPane<PayersBrowser>();
        const Period before = PeriodBrowserPane::sharedPeriod();
        bool stayedOpen = false;
        whenPeriodDialogShows([&](PeriodDialog& dialog) {
            dialog.startDateEdit()->setDate(start);
            dialog.endDateEdit()->setDate(end);
            dialog.okButton()->click();
            stayedOpen = dialog.isVisible();
            if (stayedOpen)
                dialog.cancelButton()->click();
        });
        browser->selectPeriodAction()->trigger();
        QCOMPARE(stayedOpen, !accepted);
        if (!accepted) {
            QCOMPARE(m.messages, QStringList{QStringLiteral("Конец периода раньше его начала.")});
            QCOMPARE(main.browsePeriod().start, before.start);
            QCOMPARE(main.browsePeriod().end, before.end);
            QCOMPARE(browser->prepared, 1);
            return;
        }
        QVERIFY(m.messages.isEmpty());
        QCOMPARE(stamp(main.browsePeriod().start), start.toString("dd.MM.yyyy") + " 00:00:00.000");
        QCOMPARE(stamp(main.browsePeriod().end), end.toString("dd.MM.yyyy") + " 23:59:59.999");
        QCOMPARE(browser->prepared, 2);
    }

    void refreshKeepsTheCurrentRowWhileItIsThere() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        const int beta = addPayer(QStringLiteral("Бета"));
        const int gamma = addPayer(QStringLiteral("Гамма"));
        const int delta = addPayer(QStringLiteral("Дельта"));
        auto* browser = main.showPane<PayersBrowser>();
        QCOMPARE(browser->currentKey(), beta);
        QVERIFY(browser->query().locate(QStringLiteral("PRKEY"), gamma));
        QCOMPARE(browser->query().currentRow(), 1);

        addPayer(QStringLiteral("Альфа"));
        browser->refreshRows(0);
        QCOMPARE(browser->query().recordCount(), 4);
        QCOMPARE(browser->currentKey(), gamma);
        QCOMPARE(browser->query().currentRow(), 2);

        browser->refreshRows(delta);
        QCOMPARE(browser->currentKey(), delta);

        executeOnStore(QStringLiteral("DELETE FROM PARTS WHERE PRKEY=:K"), {{"K", delta}});
        browser->refreshRows(0);
        QCOMPARE(browser->query().recordCount(), 3);
        QCOMPARE(browser->query().currentRow(), 0);
    }

    void enterDoubleClickAndTheMenuOpenTheCurrentRow() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        const int beta = addPayer(QStringLiteral("Бета"));
        const int gamma = addPayer(QStringLiteral("Гамма"));
        auto* browser = main.showPane<PayersBrowser>();
        DataGrid* grid = browser->grid();
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(browser->opened, QList<int>{beta});
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        QVERIFY(cell.isValid());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(browser->opened, (QList<int>{beta, gamma}));
        browser->openAction()->trigger();
        QCOMPARE(browser->opened, (QList<int>{beta, gamma, gamma}));
        main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("openButton"))->click();
        QCOMPARE(browser->opened, (QList<int>{beta, gamma, gamma, gamma}));
        QCOMPARE(browser->news, 0);
    }

    // New and Open are one action each, on the tool bar, in the grid's pop-up menu and (New)
    // on Insert in the grid.
    void newAndOpenAreOneActionEach() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        addPayer(QStringLiteral("Бета"));
        auto* browser = main.showPane<PayersBrowser>();
        auto* newButton =
            main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("newButton"));
        auto* openButton =
            main.paneToolBarHost()->findChild<QToolButton*>(QStringLiteral("openButton"));
        QVERIFY(newButton && openButton);
        QCOMPARE(newButton->defaultAction(), browser->newAction());
        QCOMPARE(openButton->defaultAction(), browser->openAction());
        QCOMPARE(newButton->text(), QStringLiteral("Новый"));
        QCOMPARE(openButton->text(), QStringLiteral("Открыть"));
        auto* gridMenu = browser->findChild<QMenu*>(QStringLiteral("gridMenu"));
        QVERIFY(gridMenu);
        QVERIFY(gridMenu->actions().contains(browser->newAction()));
        QVERIFY(gridMenu->actions().contains(browser->openAction()));
        QVERIFY(gridMenu->actions().contains(browser->openPeriodMenuAction()));
        QCOMPARE(browser->newAction()->shortcut(), QKeySequence(Qt::Key_Insert));
        QCOMPARE(browser->openPeriodMenuAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

        newButton->click();
        QCOMPARE(browser->news, 1);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        browser->grid()->setFocus();
        QTest::keyClick(browser->grid(), Qt::Key_Insert);
        QCOMPARE(browser->news, 2);
        // A disabled command runs from nowhere, and its button follows it.
        browser->newAction()->setEnabled(false);
        QVERIFY(!newButton->isEnabled());
        newButton->click();
        QTest::keyClick(browser->grid(), Qt::Key_Insert);
        QCOMPARE(browser->news, 2);
        QVERIFY(browser->opened.isEmpty());
    }

    void theUsersColumnLayoutSurvivesClosingAndReopening() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        ShellWindow& main = m.start();
        auto* browser = main.showPane<PayersBrowser>();
        const int defaultWidth = browser->grid()->columnWidthAt(0);
        browser->grid()->setColumnWidthAt(1, 321);
        browser->grid()->moveColumn(1, 0);
        // Another browser class keeps its own layout.
        auto* other = main.showPane<OtherPayersBrowser>();
        QCOMPARE(other->grid()->columnFieldName(0), QStringLiteral("PRKEY"));
        QCOMPARE(other->grid()->columnWidthAt(0), defaultWidth);
        browser = main.showPane<PayersBrowser>();
        QCOMPARE(browser->grid()->columnFieldName(0), QStringLiteral("LNAM"));
        QCOMPARE(browser->grid()->columnWidthAt(0), 321);
        QCOMPARE(browser->grid()->columnFieldName(1), QStringLiteral("PRKEY"));
    }

    // A book that already holds the user's layouts, stored under the browsers' layout keys:
    // each browser opens with its own.
    void aLayoutStoredInTheBookAppliesWhenItsBrowserOpens() {
        PaneMachine m(BookKind::CashDesk, QStringLiteral("Касса"));
        const QString layouts = QStringLiteral("TfrmPayersBrowser|TDBGridLNAMWidth=321\x01"
                                               "TfrmPayersBrowser|TDBGridLNAMIndex=0\x01"
                                               "TfrmPayersBrowser|TDBGridPRKEYWidth=77\x01"
                                               "TfrmPayersBrowser|TDBGridPRKEYIndex=1\x01"
                                               "TfrmOtherPayersBrowser|TDBGridPRKEYWidth=99\x01");
        setAdministratorText(m.book, QStringLiteral("DATA1"), layouts);
        ShellWindow& main = m.start();
        QCOMPARE(DataStore::instance().userData1(), layouts);
        auto* browser = main.showPane<PayersBrowser>();
        QCOMPARE(browser->grid()->columnFieldName(0), QStringLiteral("LNAM"));
        QCOMPARE(browser->grid()->columnWidthAt(0), 321);
        QCOMPARE(browser->grid()->columnFieldName(1), QStringLiteral("PRKEY"));
        QCOMPARE(browser->grid()->columnWidthAt(1), 77);
        auto* other = main.showPane<OtherPayersBrowser>();
        QCOMPARE(other->grid()->columnFieldName(0), QStringLiteral("PRKEY"));
        QCOMPARE(other->grid()->columnWidthAt(0), 99);
        QCOMPARE(other->grid()->columnFieldName(1), QStringLiteral("LNAM"));
    }
};

QTEST_MAIN(TestBrowsers)
#include "test_browsers.moc"
