#include "tests/support/shell/book_rows.h"
#include "tests/support/shell/pane_machine.h"
#include "tests/support/ui/dialog_recorder.h"

#include "documents/document_window.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "reports/movement_report.h"
#include "reports/partner_reports.h"
#include "reports/report_sheet.h"
#include "reports/sheet_text.h"
#include "shell/document_windows.h"
#include "shell/period_dialog.h"
#include "store/data_store.h"
#include "store/stored_reports.h"
#include "ui/pick_dialog.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

constexpr int kIncome = 1;
constexpr int kIssue = 2;

DateTime at(int year, int month, int day, double hours = 0) {
    return datetime::encodeDate(year, month, day) + hours / 24;
}

const DateTime kLastSecond = 86399.0 / 86400.0;

int addDocument(int type, int partner, DateTime date, const QString& reason, double sum) {
    const int key = DataStore::instance().newKey(QStringLiteral("OPER"));
    runOnBook(QStringLiteral("INSERT INTO OPER (PRKEY, TYP, LPART, DAT, REASON, SUM1, NUM)\n"
                             "VALUES (:K, :T, :P, :D, :R, :S, :N)"),
              [&](fb::Statement& q) {
                  q.param(QStringLiteral("K")).setInteger(key);
                  q.param(QStringLiteral("T")).setInteger(type);
                  q.param(QStringLiteral("P")).setInteger(partner);
                  q.param(QStringLiteral("D")).setDateTime(date);
                  q.param(QStringLiteral("R")).setString(reason);
                  q.param(QStringLiteral("S")).setFloat(sum);
                  q.param(QStringLiteral("N")).setString(QString::number(key));
              });
    return key;
}

void runSql(const QString& sql) {
    runOnBook(sql, [](fb::Statement&) {});
}

void setOwnerType(int type) {
    runOnBook(QStringLiteral("UPDATE PARTS SET LOWNER=:T WHERE PRKEY=0"),
              [&](fb::Statement& q) { q.param(QStringLiteral("T")).setInteger(type); });
}

int storedCount(int type) {
    fb::Transaction transaction(DataStore::instance().database());
    fb::Statement statement(transaction, QStringLiteral("SELECT COUNT(*) FROM OPER WHERE TYP=:T"));
    statement.param(QStringLiteral("T")).setInteger(type);
    statement.execute();
    statement.fetch();
    return int(statement.field(0).asInteger());
}

std::optional<StoredReport> stored(int key, int type) {
    return StoredReports(DataStore::instance()).read(key, type);
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString sheetText(ReportSheet& sheet) {
    return saveSheetText(sheet, 0, 0, sheet.xCount() - 1, sheet.yCount() - 1);
}

// What the next period dialog showed.
struct PeriodSeen {
    bool shown = false;
    QString caption;
    Period period;
};

// Answers the next modal period dialog: notes it, then confirms it (on answer when given) or
// cancels it.
void answerPeriod(PeriodSeen& seen, bool confirm, std::optional<Period> answer = {}) {
    QTimer::singleShot(0, [&seen, confirm, answer] {
        auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = {true, dialog->windowTitle(), dialog->period()};
        if (answer)
            dialog->setPeriod(*answer);
        confirm ? dialog->accept() : dialog->reject();
    });
}

// The report windows alive, top-level under the main window or alone.
QList<ReportWindow*> reportWindows() {
    QList<ReportWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ReportWindow*>(widget))
            windows << window;
    return windows;
}

using ReportFactory = std::function<ReportWindow*()>;

template <class Report> ReportFactory factory() {
    return [] { return static_cast<ReportWindow*>(new Report); };
}

// The rows the pick dialog lists, by key.
QList<int> pickedKeys(PickDialog* dialog) {
    QList<int> keys;
    fb::DataSet& rows = dialog->query();
    const int key = rows.fieldIndex(QStringLiteral("PRKEY"));
    for (int row = 0; row < rows.recordCount(); ++row)
        keys << rows.value(row, key).toInt();
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

Q_DECLARE_METATYPE(ReportFactory)
Q_DECLARE_METATYPE(Period)
Q_DECLARE_METATYPE(std::optional<DateTime>)
Q_DECLARE_METATYPE(Answer)

// The report windows and browsers on a real book under the main window.
class TestReportWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<PaneMachine> m_machine;
    std::unique_ptr<Dialogs> m_dialogs;
    ShellWindow* m_main = nullptr;
    int m_alpha = 0;
    int m_vega = 0;
    QMap<QString, int> m_documents;
    QList<int> m_lateDocuments; // added by a test, removed after it

    int addLate(int type, int partner, DateTime date, const QString& reason, double sum) {
        m_lateDocuments << addDocument(type, partner, date, reason, sum);
        return m_lateDocuments.last();
    }

    // A new report of factory's kind over period, run to its window.
    ReportWindow* runNew(const ReportFactory& create, const Period& period) {
        std::unique_ptr<ReportWindow> window(create());
        PeriodSeen seen;
        answerPeriod(seen, true, period);
        window->execute({ReportMode::New, 0, 0});
        if (!seen.shown)
            qWarning("no period dialog");
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the report window is not active");
        return window.release();
    }

    ReportWindow* runOpen(const ReportFactory& create, int key) {
        std::unique_ptr<ReportWindow> window(create());
        window->execute({ReportMode::Open, key, 0});
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the report window is not active");
        return window.release();
    }

    // A saved report of factory's kind over February 2024; its key.
    int saveFebruary(const ReportFactory& create) {
        ReportWindow* window = runNew(create, {at(2024, 2, 1), at(2024, 2, 29)});
        const int key = window->request()->reportKey;
        window->saveAction()->trigger();
        settle();
        return key;
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        m_machine = std::make_unique<PaneMachine>(BookKind::BankAccount, QStringLiteral("Счет"));
        m_main = &m_machine->start();
        m_dialogs = std::make_unique<Dialogs>();
        m_alpha = addPartnerRow(kIncome, QStringLiteral("Альфа"));
        m_vega = addPartnerRow(kIssue, QStringLiteral("Вега"));
        const int beta = addPartnerRow(kIncome, QStringLiteral("Бета"));
        m_documents = {
            {"rent 1st", addDocument(kIncome, m_alpha, at(2024, 2, 1, 9), "Аренда", 100)},
            {"rent 1st beta", addDocument(kIncome, beta, at(2024, 2, 1, 11), "Аренда", 20)},
            {"rent 2nd", addDocument(kIncome, m_alpha, at(2024, 2, 2, 9), "Аренда", 7)},
            {"service 1st", addDocument(kIncome, m_alpha, at(2024, 2, 1, 10), "Услуги", 5)},
            {"salary 1st", addDocument(kIssue, m_vega, at(2024, 2, 1, 12), "Зарплата", 30)},
            // The last second of the period, and past it.
            {"last moment", addDocument(kIssue, m_vega, at(2024, 2, 29, 23.99999), "Зарплата", 1)},
            {"March", addDocument(kIssue, m_vega, at(2024, 3, 1), "Зарплата", 500)},
        };
    }

    void init() {
        setUserRights(QString());
        setOwnerType(0);
        runSql(QStringLiteral("DELETE FROM OPER WHERE TYP > 100"));
        datetime::setNowForTesting([] { return at(2024, 3, 15, 12); });
        m_dialogs->requests.clear();
        m_dialogs->texts.clear();
        m_dialogs->answer = {};
    }

    void cleanup() {
        for (ReportWindow* window : reportWindows())
            window->close();
        for (QWidget* window : DocumentWindows::windows())
            window->close();
        settle();
        for (int key : std::exchange(m_lateDocuments, {}))
            runSql(QStringLiteral("DELETE FROM OPER WHERE PRKEY=%1").arg(key));
        datetime::setNowForTesting({});
        QCOMPARE(m_dialogs->texts, QStringList());
    }

    void cleanupTestCase() {
        m_dialogs.reset();
        m_machine.reset();
    }

    void proposedPeriod_data() {
        QTest::addColumn<std::optional<DateTime>>("latestEnd");
        QTest::addColumn<Period>("proposed");
        QTest::newRow("no report: the current month")
            << std::optional<DateTime>() << Period{at(2024, 3, 1), at(2024, 3, 31)};
        QTest::newRow("after one ending 31.01.2024")
            << std::optional<DateTime>(at(2024, 1, 31) + kLastSecond)
            << Period{at(2024, 2, 1), at(2024, 2, 29)};
    }
    void proposedPeriod() {
        QFETCH(std::optional<DateTime>, latestEnd);
        QFETCH(Period, proposed);
        if (latestEnd)
            runSql(QStringLiteral("INSERT INTO OPER (PRKEY, TYP, DAT, DAT2, SUM2) VALUES "
                                  "(GEN_ID(OPER_PRKEY_GEN, 1), 101, '2024-01-01', "
                                  "'2024-01-31 23:59:59', 10)"));
        std::unique_ptr<ReportWindow> window(new MovementReport);
        PeriodSeen seen;
        answerPeriod(seen, false);
        QVERIFY_THROWS_EXCEPTION(SilentAbort, window->execute({ReportMode::New, 0, 0}));
        QVERIFY(seen.shown);
        QCOMPARE(seen.caption, QStringLiteral("Период отчёта"));
        QCOMPARE(seen.period.start, proposed.start);
        QCOMPARE(seen.period.end, proposed.end);
        // Cancelled: no row and no window.
        QCOMPARE(storedCount(kMovementReportType), latestEnd ? 1 : 0);
        QVERIFY(!window->isVisible());
        QCOMPARE(reportWindows(), QList<ReportWindow*>{window.get()});
    }

    // The period dialog of a new report refuses an end before the start with a warning and
    // stays open; cancelled then, it leaves no row and no window. A period of one day or more
    // makes the report.
    void aNewReportRefusesAnEndBeforeItsStart_data() {
        QTest::addColumn<Period>("period");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("30.11.2026-01.11.2026")
            << Period{at(2026, 11, 30), at(2026, 11, 1)} << false;
        QTest::newRow("02.02.2024-01.02.2024") << Period{at(2024, 2, 2), at(2024, 2, 1)} << false;
        QTest::newRow("one day") << Period{at(2024, 2, 1), at(2024, 2, 1)} << true;
        QTest::newRow("a month") << Period{at(2024, 2, 1), at(2024, 2, 29)} << true;
    }
    void aNewReportRefusesAnEndBeforeItsStart() {
        QFETCH(Period, period);
        QFETCH(bool, accepted);
        std::unique_ptr<ReportWindow> window(new MovementReport);
        QString caption;
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<PeriodDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            caption = dialog->windowTitle();
            dialog->setPeriod(period);
            dialog->okButton()->click();
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                dialog->cancelButton()->click();
        });
        if (accepted) {
            window->execute({ReportMode::New, 0, 0});
            ReportWindow* shown = window.release(); // it frees itself once closed
            QVERIFY(shown->isVisible());
            QCOMPARE(shown->reportPeriod().start, period.start);
            QCOMPARE(shown->reportPeriod().end, period.end + kLastSecond);
        } else {
            QVERIFY_THROWS_EXCEPTION(SilentAbort, window->execute({ReportMode::New, 0, 0}));
            QVERIFY(!window->isVisible());
            QCOMPARE(storedCount(kMovementReportType), 0);
        }
        QCOMPARE(caption, QStringLiteral("Период отчёта"));
        QCOMPARE(stayedOpen, !accepted);
        if (!accepted) {
            QCOMPARE(std::exchange(m_dialogs->texts, {}),
                     QStringList{QStringLiteral("Конец периода раньше его начала.")});
            QCOMPARE(m_dialogs->requests.first().icon, MessageIcon::Warning);
        }
    }

    void newReportShowsModalOverTheMainWindow() {
        ReportWindow* window = runNew(factory<MovementReport>(), {at(2024, 2, 1), at(2024, 2, 29)});
        QVERIFY(window->isVisible());
        QVERIFY(window->isMaximized());
        QCOMPARE(window->windowModality(), Qt::WindowModal);
        QCOMPARE(window->parentWidget(), static_cast<QWidget*>(m_main));
        QCOMPARE(window->windowTitle(), QStringLiteral("Движение денег [Новый]"));
        QVERIFY(window->request()->reportKey != 0);
        QCOMPARE(window->reportPeriod().start, at(2024, 2, 1));
        QCOMPARE(window->reportPeriod().end, at(2024, 2, 29) + kLastSecond);
        // Computed at once; not stored before "Сохранить".
        QCOMPARE(window->sheet()->cellText(0, 4), QStringLiteral("01.02.2024"));
        QCOMPARE(storedCount(kMovementReportType), 0);
        // Escape closes without saving, and the window goes.
        QPointer<ReportWindow> alive(window);
        QTest::keyClick(window, Qt::Key_Escape);
        settle();
        QVERIFY(!alive);
        QCOMPARE(storedCount(kMovementReportType), 0);
    }

    void saveAndReopen_data() {
        QTest::addColumn<ReportFactory>("create");
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("closing");
        QTest::addColumn<int>("lateType"); // of a document added after the save
        QTest::addColumn<double>("recalculated");
        // Income 132, issue 31 (the last second counted); no earlier report.
        QTest::newRow("movement") << factory<MovementReport>() << kMovementReportType << 101.0
                                  << kIncome << 1101.0;
        QTest::newRow("payers") << factory<PayersReport>() << kPayersReportType << 132.0 << kIncome
                                << 1132.0;
        QTest::newRow("recipients")
            << factory<RecipientsReport>() << kRecipientsReportType << 31.0 << kIssue << 1031.0;
    }
    void saveAndReopen() {
        QFETCH(ReportFactory, create);
        QFETCH(int, type);
        QFETCH(double, closing);
        QFETCH(int, lateType);
        QFETCH(double, recalculated);
        ReportWindow* window = runNew(create, {at(2024, 2, 1), at(2024, 2, 29)});
        const int key = window->request()->reportKey;
        const QString computed = sheetText(*window->sheet());
        QPointer<ReportWindow> alive(window);
        window->saveAction()->trigger();
        settle();
        QVERIFY(!alive);

        const std::optional<StoredReport> row = stored(key, type);
        QVERIFY(row);
        QCOMPARE(row->start, at(2024, 2, 1));
        QCOMPARE(row->end, at(2024, 2, 29) + kLastSecond);
        QCOMPARE(row->closingFigure, std::optional<Currency>(currencyFromDouble(closing)));
        QCOMPARE(row->sheetText, computed);
        QVERIFY(!row->sum1);

        // Reopened as stored, not computed again: a document added since does not show.
        addLate(lateType, lateType == kIncome ? m_alpha : m_vega, at(2024, 2, 10), "Аренда", 1000);
        ReportWindow* reopened = runOpen(create, key);
        QCOMPARE(sheetText(*reopened->sheet()), computed);
        QCOMPARE(reopened->reportPeriod().end, row->end);
        QVERIFY(!reopened->windowTitle().contains(QStringLiteral("[Новый]")));

        // Saved again without a recalc: the closing figure stays.
        reopened->saveAction()->trigger();
        settle();
        QCOMPARE(stored(key, type)->closingFigure, row->closingFigure);
        QCOMPARE(stored(key, type)->sheetText, computed);

        // With a recalc (F5) the late document counts.
        reopened = runOpen(create, key);
        QTest::keyClick(reopened, Qt::Key_F5);
        QVERIFY(sheetText(*reopened->sheet()) != computed);
        reopened->saveAction()->trigger();
        settle();
        QCOMPARE(stored(key, type)->closingFigure,
                 std::optional<Currency>(currencyFromDouble(recalculated)));
    }

    // The closing balance of the latest earlier report opens the next one.
    void movementOpensWithTheEarlierClosingBalance() {
        saveFebruary(factory<MovementReport>());
        ReportWindow* march = runNew(factory<MovementReport>(), {at(2024, 3, 1), at(2024, 3, 31)});
        QCOMPARE(march->sheet()->cellText(0, 1), QStringLiteral("Сальдо на 01.03.2024: 101.00"));
        QCOMPARE(march->sheet()->cellText(0, march->sheet()->yCount() - 1),
                 QStringLiteral("Сальдо на 01.04.2024: -399.00"));
    }

    void openingAGoneReportShowsNoWindow() {
        std::unique_ptr<ReportWindow> window(new PayersReport);
        QVERIFY_THROWS_EXCEPTION(Exception, window->execute({ReportMode::Open, 999999, 0}));
        QVERIFY(!window->isVisible());
        // A row of another kind is no report of this one.
        const int key = saveFebruary(factory<MovementReport>());
        window.reset(new PayersReport);
        QVERIFY_THROWS_EXCEPTION(Exception, window->execute({ReportMode::Open, key, 0}));
        // A text that does not load.
        runSql(QStringLiteral("UPDATE OPER SET ETC='RS(1,' WHERE PRKEY=%1").arg(key));
        window.reset(new MovementReport);
        QVERIFY_THROWS_EXCEPTION(Exception, window->execute({ReportMode::Open, key, 0}));
        QVERIFY(!window->isVisible());
    }

    void deleteAsksAndCloses_data() {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void deleteAsksAndCloses() {
        QFETCH(Answer, answer);
        const int key = saveFebruary(factory<PayersReport>());
        ReportWindow* window = runOpen(factory<PayersReport>(), key);
        QPointer<ReportWindow> alive(window);
        m_dialogs->answer = [answer](const DialogRequest&) { return DialogAnswer{answer, {}}; };
        window->deleteAction()->trigger();
        settle();
        QCOMPARE(m_dialogs->requests.size(), 1);
        const DialogRequest& asked = m_dialogs->requests.first();
        QCOMPARE(asked.text, QStringLiteral("Вы уверенны, что хотите удалить документ?"));
        QCOMPARE(asked.caption, QStringLiteral("Удаление"));
        QCOMPARE(asked.buttons, Buttons::YesNo);
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.defaultButton, DefaultButton::Second);
        m_dialogs->texts.clear();
        QVERIFY(!alive);
        QCOMPARE(stored(key, kPayersReportType).has_value(), answer == Answer::No);
    }

    void rights_data() {
        QTest::addColumn<ReportFactory>("create");
        QTest::addColumn<QString>("word");
        QTest::newRow("movement") << factory<MovementReport>() << "MovementReport";
        QTest::newRow("payers") << factory<PayersReport>() << "PayersReport";
        QTest::newRow("recipients") << factory<RecipientsReport>() << "AcceptorsReport";
    }
    void rights() {
        QFETCH(ReportFactory, create);
        QFETCH(QString, word);
        const int key = saveFebruary(create);
        struct Command {
            char number;
            QAction* (ReportWindow::*action)() const;
        };
        const Command commands[] = {{'6', &ReportWindow::recalcAction},
                                    {'4', &ReportWindow::deleteAction},
                                    {'7', &ReportWindow::printAction},
                                    {'8', &ReportWindow::exportAction}};
        for (const Command& denied : commands) {
            setUserRights(word + QLatin1Char(denied.number) + QStringLiteral("=N\x01"));
            ReportWindow* window = runOpen(create, key);
            for (const Command& command : commands)
                QCOMPARE((window->*command.action)()->isEnabled(), command.number != denied.number);
            QVERIFY(window->saveAction()->isEnabled());
            window->close();
            settle();
        }
        // F5 follows "Пересчитать": denied, it leaves the stored sheet as it is.
        addLate(kIssue, m_vega, at(2024, 2, 3), "Зарплата", 1000);
        for (const bool allowed : {false, true}) {
            setUserRights(allowed ? QString() : word + QStringLiteral("6=N\x01"));
            ReportWindow* window = runOpen(create, key);
            const QString before = sheetText(*window->sheet());
            QTest::keyClick(window, Qt::Key_F5);
            QCOMPARE(sheetText(*window->sheet()) != before,
                     allowed && word != QLatin1String("PayersReport"));
            window->close();
            settle();
        }
    }

    void browserListsOpensAndStandsOnTheSavedReport() {
        m_main->setBrowsePeriod({at(2024, 1, 1), datetime::endOfDay(at(2024, 12, 31))});
        const int february = saveFebruary(factory<MovementReport>());
        auto* browser = m_main->showPane<MovementReportBrowser>();
        QVERIFY(browser);
        QCOMPARE(browser->query().recordCount(), 1);
        QCOMPARE(browser->query().field(QStringLiteral("DAT")).displayText(),
                 QStringLiteral("февраль 2024 г."));
        QCOMPARE(browser->query().field(QStringLiteral("SUM2")).displayText(),
                 QStringLiteral("101.00"));
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("01.01.2024-31.12.2024"));

        // New: March after February, saved; the browser stands on it, newest first.
        PeriodSeen seen;
        answerPeriod(seen, true);
        browser->newAction()->trigger();
        QCOMPARE(seen.period.start, at(2024, 3, 1));
        QCOMPARE(reportWindows().size(), 1);
        ReportWindow* window = reportWindows().first();
        const int march = window->request()->reportKey;
        window->saveAction()->trigger();
        settle();
        QCOMPARE(browser->query().recordCount(), 2);
        QCOMPARE(int(browser->query().field(QStringLiteral("PRKEY")).asInteger()), march);
        QCOMPARE(int(browser->query().value(1, browser->query().fieldIndex("PRKEY")).toInt()),
                 february);

        // Open: the current row.
        browser->query().locate(QStringLiteral("PRKEY"), february);
        browser->openAction()->trigger();
        QCOMPARE(reportWindows().size(), 1);
        QCOMPARE(reportWindows().first()->request()->reportKey, february);
        reportWindows().first()->close();
        settle();
        QCOMPARE(int(browser->query().field(QStringLiteral("PRKEY")).asInteger()), february);

        // New is allowed by key 2.
        setUserRights(QStringLiteral("MovementReport2=N\x01"));
        browser = m_main->showPane<MovementReportBrowser>();
        QVERIFY(!browser->newAction()->isEnabled());
    }

    void openOnAnEmptyBrowserDoesNothing() {
        m_main->setBrowsePeriod({at(2024, 1, 1), datetime::endOfDay(at(2024, 12, 31))});
        auto* browser = m_main->showPane<PayersReportBrowser>();
        QVERIFY(browser->query().isEmpty());
        browser->openAction()->trigger();
        settle();
        QVERIFY(reportWindows().isEmpty());
    }

    void hotCellOpensItsDocument_data() {
        QTest::addColumn<ReportFactory>("create");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("owner");
        QTest::addColumn<int>("kind"); // DocumentKind; -1 none
        const auto both = [](const char* name, const ReportFactory& create, int x, int y,
                             const QStringList& listed, DocumentKind bank, DocumentKind cash) {
            QTest::addRow("%s, bank account", name) << create << x << y << listed << 0 << int(bank);
            QTest::addRow("%s, cash desk", name) << create << x << y << listed << 1 << int(cash);
        };
        // Movement: columns date, Аренда, Услуги, Итого, Зарплата, Итого, balance; day rows
        // from 4 (01.02, 02.02, 29.02).
        both("movement income", factory<MovementReport>(), 1, 4, {"rent 1st", "rent 1st beta"},
             DocumentKind::IncomingPayment, DocumentKind::CashReceipt);
        both("movement issue, last second", factory<MovementReport>(), 4, 6, {"last moment"},
             DocumentKind::PaymentOrder, DocumentKind::CashDisbursement);
        // Payers: names Альфа, Бета from row 3; the whole period.
        both("payers", factory<PayersReport>(), 1, 3, {"rent 1st", "rent 2nd"},
             DocumentKind::IncomingPayment, DocumentKind::CashReceipt);
        both("recipients", factory<RecipientsReport>(), 1, 3, {"salary 1st", "last moment"},
             DocumentKind::PaymentOrder, DocumentKind::CashDisbursement);
        QTest::newRow("a book of another kind opens nothing")
            << factory<MovementReport>() << 1 << 4 << QStringList{"rent 1st", "rent 1st beta"} << 2
            << -1;
        QTest::newRow("a day total lists nothing")
            << factory<MovementReport>() << 3 << 4 << QStringList() << 0 << -1;
        QTest::newRow("a partner total lists nothing")
            << factory<PayersReport>() << 3 << 3 << QStringList() << 0 << -1;
    }
    void hotCellOpensItsDocument() {
        QFETCH(ReportFactory, create);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QStringList, listed);
        QFETCH(int, owner);
        QFETCH(int, kind);
        setOwnerType(owner);
        ReportWindow* window = runNew(create, {at(2024, 2, 1), at(2024, 2, 29)});
        QVERIFY(window->sheet()->setCurrentCell(x, y));
        QList<int> expected;
        for (const QString& name : listed)
            expected << m_documents.value(name);
        std::sort(expected.begin(), expected.end());

        QList<int> shown;
        bool closedOnPick = false;
        int picked = 0;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<PickDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QCOMPARE(dialog->parentWidget(), static_cast<QWidget*>(window));
            shown = pickedKeys(dialog);
            picked = expected.value(0);
            dialog->query().locate(QStringLiteral("PRKEY"), picked);
            QPointer<PickDialog> alive(dialog);
            dialog->selectAction()->trigger();
            closedOnPick = !alive || !alive->isVisible();
            if (alive)
                alive->close();
        });
        window->documentAction()->trigger();
        settle();
        QCOMPARE(shown, expected);
        QCOMPARE(closedOnPick, !expected.isEmpty());

        QList<DocumentWindow*> opened;
        for (QWidget* widget : DocumentWindows::windows())
            if (auto* document = qobject_cast<DocumentWindow*>(widget);
                document && document->isVisible())
                opened << document;
        QCOMPARE(opened.size(), kind >= 0 ? 1 : 0);
        if (kind >= 0) {
            QCOMPARE(int(opened.first()->kind()), kind);
            QCOMPARE(opened.first()->documentKey(), picked);
            // The document window, parentless, is not blocked by the report window.
            QVERIFY(!opened.first()->parentWidget());
            QVERIFY(!QApplication::activeModalWidget() ||
                    QApplication::activeModalWidget() != opened.first());
        }
    }
};

QTEST_MAIN(TestReportWindows)
#include "test_report_windows.moc"
