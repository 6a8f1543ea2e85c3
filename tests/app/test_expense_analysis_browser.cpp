#include "app/main_window.h"
#include "core/date_time.h"
#include "platform/firebird/data_set.h"
#include "reports/expense_analysis.h"
#include "reports/expense_analysis_browser.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A book with stored reports: money movement ones of March and May 2024 and a payers report of
// April, and the main window started on it over the browse period of 2024.
struct AnalysisMachine : Machine {
    QString book = addBook(BookKind::BankAccount, QStringLiteral("Книга"));
    Dialogs dialogs;
    std::unique_ptr<MainWindow> main;

    explicit AnalysisMachine(bool withReports) {
        if (withReports) {
            addReport(10001, 101, "2024-03-01", "2024-03-31", "1500.5");
            addReport(10002, 102, "2024-04-01", "2024-04-30", "700");
            addReport(10003, 101, "2024-05-01", "2024-05-31", "-20");
        }
        main = std::make_unique<MainWindow>(ini);
        if (main->runStartup() != StartupEnd::GoOn)
            qFatal("the main window did not start");
        main->setBrowsePeriod(
            {datetime::encodeDate(2024, 1, 1), datetime::encodeDate(2024, 12, 31)});
        main->show();
    }
    ~AnalysisMachine() { main->close(); }

    void addReport(int key, int type, const char* start, const char* end, const char* sum) {
        execute(book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, DAT, DAT2, SUM2) VALUES "
                                     "(%1, %2, '%3', '%4 23:59:59', %5)")
                          .arg(key)
                          .arg(type)
                          .arg(QLatin1String(start), QLatin1String(end), QLatin1String(sum)));
    }

    ExpenseAnalysisBrowser* showBrowser() {
        auto* item = main->findChild<QAction*>(QStringLiteral("expenseAnalysisAction"));
        item->trigger();
        return qobject_cast<ExpenseAnalysisBrowser*>(main->currentPane());
    }
};

// What the analysis that opens next shows: its month's first day, and whether it is maximized;
// the analysis is closed then.
struct AnalysisSeen {
    QString month;
    bool maximized = false;
};

void whenAnalysisShows(AnalysisSeen& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* analysis = qobject_cast<ExpenseAnalysis*>(QApplication::activeModalWidget());
        if (!analysis)
            return;
        seen.month = datetime::decodeDate(analysis->period().start).toString(Qt::ISODate);
        seen.maximized = analysis->isMaximized();
        analysis->closeAction()->trigger();
    });
}

} // namespace

class TestExpenseAnalysisBrowser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    // The reports menu's item shows the money movement reports by month, newest first, with
    // their closing balance; there is no new report.
    void theItemShowsTheMovementReports() {
        AnalysisMachine m(true);
        ExpenseAnalysisBrowser* browser = m.showBrowser();
        QVERIFY(browser);
        QVERIFY(browser->isVisible());
        QCOMPARE(browser->windowTitle(), QStringLiteral("Анализ расходов"));
        QCOMPARE(browser->layoutKey(), QStringLiteral("TfrmAnIssueReportBrowser"));
        QVERIFY(!browser->newAction()->isVisible());
        fb::DataSet& rows = browser->query();
        QStringList shown;
        for (rows.first(); !rows.eof(); rows.next())
            shown << rows.field(QStringLiteral("DAT")).displayText() + "|" +
                         rows.field(QStringLiteral("SUM2")).displayText();
        QCOMPARE(shown, (QStringList{"май 2024 г.|-20,00", "март 2024 г.|1500,50"}));
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    // "Новый" is neither on the tool bar nor in the grid's pop-up; "Открыть" is on both.
    void newIsNotOffered() {
        AnalysisMachine m(true);
        ExpenseAnalysisBrowser* browser = m.showBrowser();
        QVERIFY(QTest::qWaitForWindowExposed(m.main.get()));
        QWidget* bar = m.main->paneToolBarHost();
        auto* newButton = bar->findChild<QToolButton*>(QStringLiteral("newButton"));
        auto* openButton = bar->findChild<QToolButton*>(QStringLiteral("openButton"));
        QVERIFY(newButton && openButton);
        QVERIFY(!newButton->isVisible());
        QVERIFY(openButton->isVisible());
        QVERIFY(openButton->isEnabled());

        auto* menu = browser->findChild<QMenu*>(QStringLiteral("gridMenu"));
        QVERIFY(menu);
        menu->popup(browser->grid()->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QStringList items;
        for (QAction* item : menu->actions())
            if (!item->isSeparator() && !menu->actionGeometry(item).isEmpty())
                items << item->text();
        menu->close();
        QVERIFY(items.contains(QStringLiteral("Открыть")));
        QVERIFY(!items.contains(QStringLiteral("Новый")));
    }

    // "Открыть" and Enter in the grid run the analysis of the current row's month, maximized;
    // the browser stays on that row after it closes.
    void openRunsTheAnalysisOfTheRowsMonth_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("open") << false;
        QTest::newRow("enter") << true;
    }
    void openRunsTheAnalysisOfTheRowsMonth() {
        QFETCH(bool, byEnter);
        AnalysisMachine m(true);
        ExpenseAnalysisBrowser* browser = m.showBrowser();
        QVERIFY(browser->query().locate(QStringLiteral("PRKEY"), 10001));
        AnalysisSeen seen;
        whenAnalysisShows(seen);
        if (byEnter) {
            browser->grid()->setFocus();
            QTest::keyClick(browser->grid(), Qt::Key_Return);
        } else {
            browser->openAction()->trigger();
        }
        QCOMPARE(seen.month, QStringLiteral("2024-03-01"));
        QVERIFY(seen.maximized);
        QCOMPARE(browser->query().field(QStringLiteral("PRKEY")).asInteger(), 10001);
        QVERIFY(m.dialogs.requests.isEmpty());
    }

    // Without a row "Открыть" shows nothing; "Новый" never does.
    void anEmptyBrowserOpensNothing() {
        AnalysisMachine m(false);
        ExpenseAnalysisBrowser* browser = m.showBrowser();
        QVERIFY(browser->query().isEmpty());
        AnalysisSeen seen;
        whenAnalysisShows(seen);
        browser->openAction()->trigger();
        browser->newAction()->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(seen.month, QString());
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<ExpenseAnalysis*>(widget));
        QVERIFY(m.dialogs.requests.isEmpty());
    }
};

QTEST_MAIN(TestExpenseAnalysisBrowser)
#include "test_expense_analysis_browser.moc"
