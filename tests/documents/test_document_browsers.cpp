#include "tests/support/documents/dictionary_machine.h"
#include "tests/support/shell/book_rows.h"
#include "tests/support/shell/pane_machine.h"

#include "documents/document_browser.h"
#include "documents/partner_filter_lookup.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/document_windows.h"
#include "store/book_options.h"
#include "store/data_store.h"
#include "ui/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>

namespace {

constexpr int kIncome = 1;
constexpr int kIssue = 2;

DateTime at(int day, int month, double hours = 0) {
    return datetime::encodeDate(2024, month, day) + hours / 24;
}

// March 2024, as the period menu leaves it: from its first moment to its last.
const Period kMarch{at(1, 3), datetime::endOfDay(at(31, 3))};

int addDocument(int type, int partner, DateTime date, double sum, const QString& purpose) {
    const int key = DataStore::instance().newKey(QStringLiteral("OPER"));
    runOnBook(QStringLiteral("INSERT INTO OPER (PRKEY, TYP, LPART, DAT, SUM1, NUM, PURP1)\n"
                             "VALUES (:K, :T, :P, :D, :S, :N, :U)"),
              [&](fb::Statement& q) {
                  q.param(QStringLiteral("K")).setInteger(key);
                  q.param(QStringLiteral("T")).setInteger(type);
                  q.param(QStringLiteral("P")).setInteger(partner);
                  q.param(QStringLiteral("D")).setDateTime(date);
                  q.param(QStringLiteral("S")).setFloat(sum);
                  q.param(QStringLiteral("N")).setString(QString::number(key % 1000));
                  q.param(QStringLiteral("U")).setString(purpose);
              });
    return key;
}

// Runs what the event loop has waiting, the deferred deletions too.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Settles the lookup's end and gives the main window back the activation it had before the
// pop-up (the offscreen platform does not).
void endLookup(QWidget* main) {
    settle();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
}

PartnerFilterLookup* openLookup(DocumentBrowser& browser) {
    return browser.window()->findChild<PartnerFilterLookup*>();
}

QStringList listed(const PartnerFilterLookup* lookup) {
    QStringList names;
    for (int row = 0; row < lookup->list()->count(); ++row)
        names << lookup->list()->item(row)->text();
    return names;
}

// The browser's rows by key, in the grid's order.
QList<int> keys(DocumentBrowser& browser) {
    QList<int> keys;
    const int key = browser.query().fieldIndex(QStringLiteral("PRKEY"));
    for (int row = 0; row < browser.query().recordCount(); ++row)
        keys << browser.query().value(row, key).toInt();
    return keys;
}

// The texts of one row of the grid, left to right.
QStringList cells(DocumentBrowser& browser, int row) {
    QStringList texts;
    const QAbstractItemModel* model = browser.grid()->model();
    for (int column = 0; column < browser.grid()->columnCount(); ++column)
        texts << model->data(model->index(row, column)).toString();
    return texts;
}

// The total in the status bar, once the grid has shown the rows and the event loop the total.
QString shownTotal(DocumentBrowser& browser) {
    for (int turn = 0; turn < 10 && browser.totalLabel()->text().isEmpty(); ++turn)
        settle();
    return browser.totalLabel()->text();
}

int currentKey(DocumentBrowser& browser) {
    return int(browser.query().field(QStringLiteral("PRKEY")).asInteger());
}

// A browser of incoming payments that notes the documents it would open.
class NotingBrowser : public DocumentBrowser {
    Q_OBJECT
public:
    explicit NotingBrowser(QWidget* owner)
        : DocumentBrowser(IncomingPaymentsBrowser::kKind, owner) {}
    QList<int> opened;

protected:
    void openDocument(int key) override { opened << key; }
};

using BrowserFactory = std::function<DocumentBrowser*(ShellWindow&)>;
template <class Browser> BrowserFactory factory() {
    return
        [](ShellWindow& main) { return static_cast<DocumentBrowser*>(main.showPane<Browser>()); };
}

} // namespace

Q_DECLARE_METATYPE(BrowserFactory)

class TestDocumentBrowsers : public QObject {
    Q_OBJECT

    std::unique_ptr<PaneMachine> m_machine;
    ShellWindow* m_main = nullptr;
    QMap<QString, int> m_partners;  // by name
    QMap<QString, int> m_documents; // by a name of the test's

    int doc(const char* name) const { return m_documents.value(QString::fromLatin1(name)); }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        m_machine = std::make_unique<PaneMachine>(BookKind::BankAccount, QStringLiteral("Счет"));
        m_main = &m_machine->start();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        DataStore::instance().options().setOption(QString::fromLatin1(kLookupDelayKey), "0");
        const struct {
            int type;
            const char* name;
        } partners[] = {{1, "Альфа"}, {1, "Бета"},  {1, "?Скрытый"},
                        {2, "Вега"},  {2, "Гамма"}, {3, "Общий"}};
        for (const auto& p : partners)
            m_partners[QString::fromUtf8(p.name)] =
                addPartnerRow(p.type, QString::fromUtf8(p.name));
        const struct {
            const char* name;
            int type;
            const char* partner;
            DateTime date;
            double sum;
        } documents[] = {
            {"first moment", kIncome, "Бета", at(1, 3), 3.33},
            {"alpha 5th", kIncome, "Альфа", at(5, 3, 10), 100.10},
            {"beta 5th", kIncome, "Бета", at(5, 3, 10), 200.20},
            // A document may name a partner of any type.
            {"general", kIncome, "Общий", at(20, 3, 9), 50},
            {"hidden", kIncome, "?Скрытый", at(21, 3, 9), 0.005},
            {"last moment", kIncome, "Альфа", at(31, 3, 23.9999), 1.11},
            {"February", kIncome, "Альфа", at(29, 2, 23.99), 1000},
            {"April", kIncome, "Альфа", at(1, 4), 2000},
            {"vega", kIssue, "Вега", at(10, 3, 12), 70},
            {"gamma", kIssue, "Гамма", at(11, 3, 12), 30.5},
            {"to a payer", kIssue, "Альфа", at(12, 3, 12), 5},
            {"vega April", kIssue, "Вега", at(15, 4), 900},
        };
        for (const auto& d : documents)
            m_documents[QString::fromLatin1(d.name)] =
                addDocument(d.type, m_partners.value(QString::fromUtf8(d.partner)), d.date, d.sum,
                            QStringLiteral("Оплата %1").arg(QString::fromLatin1(d.name)));
    }

    void init() {
        m_main->setBrowsePeriod(kMarch);
        setUserRights(QString());
        m_machine->messages.clear();
    }

    void cleanup() {
        settle();
        QVERIFY(m_machine->messages.isEmpty());
    }

    void cleanupTestCase() { m_machine.reset(); }

    void eachBrowserListsItsTypeOverThePeriodAndPartner_data() {
        QTest::addColumn<BrowserFactory>("show");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("partnerTitle");
        QTest::addColumn<QString>("filterLabel");
        QTest::addColumn<QStringList>("all");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("partner");
        QTest::addColumn<QStringList>("partners");
        QTest::addColumn<QStringList>("ofPartner");
        QTest::addColumn<QString>("partnerTotal");
        const QStringList income{"last moment", "hidden",   "general",
                                 "alpha 5th",   "beta 5th", "first moment"};
        const QStringList issue{"to a payer", "gamma", "vega"};
        const QStringList payers{"Все фирмы", "Альфа", "Бета"};
        const QStringList recipients{"Все фирмы", "Вега", "Гамма"};
        QTest::newRow("incoming payments")
            << factory<IncomingPaymentsBrowser>() << "Приход на Р/С"
            << "От кого"
            << "Показывать только:" << income << "354.75"
            << "Альфа" << payers << QStringList{"last moment", "alpha 5th"} << "101.21";
        QTest::newRow("payment orders") << factory<PaymentOrdersBrowser>() << "Расход с Р/С"
                                        << "Кому"
                                        << "Показывать только:" << issue << "105.50"
                                        << "Вега" << recipients << QStringList{"vega"} << "70.00";
        QTest::newRow("cash receipts")
            << factory<CashReceiptsBrowser>() << "Приход в кассу"
            << "От кого"
            << "Плательщик:" << income << "354.75"
            << "Бета" << payers << QStringList{"beta 5th", "first moment"} << "203.53";
        QTest::newRow("cash disbursements")
            << factory<CashDisbursementsBrowser>() << "Расход из кассы"
            << "Кому"
            << "Получатель:" << issue << "105.50"
            << "Гамма" << recipients << QStringList{"gamma"} << "30.50";
    }
    void eachBrowserListsItsTypeOverThePeriodAndPartner() {
        QFETCH(BrowserFactory, show);
        QFETCH(QString, title);
        QFETCH(QString, partnerTitle);
        QFETCH(QString, filterLabel);
        QFETCH(QStringList, all);
        QFETCH(QString, total);
        QFETCH(QString, partner);
        QFETCH(QStringList, partners);
        QFETCH(QStringList, ofPartner);
        QFETCH(QString, partnerTotal);
        auto names = [this](const QStringList& list) {
            QList<int> keys;
            for (const QString& name : list)
                keys << m_documents.value(name);
            return keys;
        };
        DocumentBrowser* browser = show(*m_main);
        QVERIFY(browser);
        QCOMPARE(browser->windowTitle(), title);
        QCOMPARE(
            browser->toolBar()->findChild<QLabel*>(QStringLiteral("partnerFilterLabel"))->text(),
            filterLabel);
        const QAbstractItemModel* model = browser->grid()->model();
        QStringList titles;
        for (int column = 0; column < model->columnCount(); ++column)
            titles << model->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"Дата", "№ докум.", partnerTitle, "Сумма", "Назначение"}));
        QCOMPARE(keys(*browser), names(all));
        QCOMPARE(shownTotal(*browser), total);
        QCOMPARE(browser->partnerFilterEdit()->text(), QStringLiteral("Все фирмы"));
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("01.03.2024-31.03.2024"));
        QCOMPARE(currentKey(*browser), names(all).first());

        // Ctrl+P: the partners of the browser's kind, the hidden ones left out.
        browser->grid()->setFocus();
        browser->partnerFilterAction()->trigger();
        PartnerFilterLookup* lookup = openLookup(*browser);
        QVERIFY(lookup && lookup->isVisible());
        QCOMPARE(listed(lookup), partners);
        type(lookup->filterEdit(), partner);
        QTest::keyClick(lookup->filterEdit(), Qt::Key_Return);
        endLookup(m_main);
        QCOMPARE(browser->partnerFilter(), m_partners.value(partner));
        QCOMPARE(browser->partnerFilterEdit()->text(), partner);
        QCOMPARE(keys(*browser), names(ofPartner));
        QCOMPARE(shownTotal(*browser), partnerTotal);
        QCOMPARE(m_main->focusWidget(), browser->grid());
        QVERIFY(browser->query().sql().contains(QStringLiteral("O.LPART=:LPART")));

        // "Все фирмы" lists every partner's documents again, and the query loses its partner.
        browser->partnerFilterButton()->click();
        lookup = openLookup(*browser);
        QVERIFY(lookup && lookup->isVisible());
        lookup->list()->setCurrentRow(0);
        QTest::keyClick(lookup->filterEdit(), Qt::Key_Return);
        endLookup(m_main);
        QCOMPARE(browser->partnerFilter(), DocumentBrowser::kAllPartners);
        QCOMPARE(browser->partnerFilterEdit()->text(), QStringLiteral("Все фирмы"));
        QVERIFY(!browser->query().sql().contains(QStringLiteral("LPART=:LPART")));
        QCOMPARE(keys(*browser), names(all));
        QCOMPARE(shownTotal(*browser), total);
    }

    void theGridShowsDatesAmountsAndPartners() {
        auto* browser = m_main->showPane<IncomingPaymentsBrowser>();
        QCOMPARE(cells(*browser, 0),
                 (QStringList{"31.03.2024", QString::number(doc("last moment") % 1000), "Альфа",
                              "1.11", "Оплата last moment"}));
        QCOMPARE(cells(*browser, 1).at(3), QStringLiteral("0.01"));
        const QAbstractItemModel* model = browser->grid()->model();
        QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignHCenter | Qt::AlignVCenter);
        QCOMPARE(model->data(model->index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
    }

    // The status bar's total covers every row of the period, read before any row is looked at.
    void theTotalFollowsThePeriod() {
        auto* browser = m_main->showPane<IncomingPaymentsBrowser>();
        // The rows come first, the total as soon as they have shown.
        QCOMPARE(browser->query().fetchedCount(), 6);
        QVERIFY(browser->totalLabel()->text().isEmpty());
        QCOMPARE(shownTotal(*browser), QStringLiteral("354.75"));
        browser->grid()->selectRow(2);
        const int standing = currentKey(*browser);
        QCOMPARE(standing, doc("general"));

        PeriodBrowserPane::setSharedPeriod({at(1, 2), datetime::endOfDay(at(31, 3))});
        browser->refreshRows(0);
        QCOMPARE(shownTotal(*browser), QStringLiteral("1354.75"));
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("01.02.2024-31.03.2024"));
        QCOMPARE(currentKey(*browser), standing);

        // An empty period: no rows, a total of nought, and Open does nothing.
        PeriodBrowserPane::setSharedPeriod({at(1, 1), datetime::endOfDay(at(31, 1))});
        browser->refreshRows(0);
        QVERIFY(browser->query().isEmpty());
        QCOMPARE(shownTotal(*browser), QStringLiteral("0.00"));
        QCOMPARE(browser->periodButton()->text(), QStringLiteral("01.01.2024-31.01.2024"));
    }

    void openAndNewOpenTheKindsWindow() {
        auto* browser = m_main->showPane<NotingBrowser>();
        browser->grid()->selectRow(3);
        browser->grid()->setFocus();
        QTest::keyClick(browser->grid(), Qt::Key_Return);
        browser->newAction()->trigger();
        QCOMPARE(browser->opened, (QList<int>{doc("alpha 5th"), 0}));

        PeriodBrowserPane::setSharedPeriod({at(1, 1), datetime::endOfDay(at(31, 1))});
        browser->refreshRows(0);
        browser->openAction()->trigger();
        QCOMPARE(browser->opened, (QList<int>{doc("alpha 5th"), 0}));
    }

    // A closed document window leaves the browser shown standing on its document; one of
    // another type leaves it as it is.
    void aClosedDocumentReloadsTheBrowserOnIt() {
        auto* browser = m_main->showPane<PaymentOrdersBrowser>();
        QCOMPARE(currentKey(*browser), doc("to a payer"));
        const int added = addDocument(kIssue, m_partners.value(QStringLiteral("Гамма")),
                                      at(2, 3, 8), 0.5, QStringLiteral("Сдача"));
        DocumentWindows::tellClosed(kIncome, added);
        QCOMPARE(keys(*browser), (QList<int>{doc("to a payer"), doc("gamma"), doc("vega")}));
        DocumentWindows::tellClosed(kIssue, added);
        QCOMPARE(keys(*browser), (QList<int>{doc("to a payer"), doc("gamma"), doc("vega"), added}));
        QCOMPARE(currentKey(*browser), added);
        QCOMPARE(shownTotal(*browser), QStringLiteral("106.00"));

        // A document that is gone leaves the browser on its first row.
        runOnBook(QStringLiteral("DELETE FROM OPER WHERE PRKEY=:K"),
                  [&](fb::Statement& q) { q.param(QStringLiteral("K")).setInteger(added); });
        DocumentWindows::tellClosed(kIssue, added);
        QCOMPARE(keys(*browser), (QList<int>{doc("to a payer"), doc("gamma"), doc("vega")}));
        QCOMPARE(currentKey(*browser), doc("to a payer"));
        QCOMPARE(shownTotal(*browser), QStringLiteral("105.50"));
    }

    void newFollowsTheRightToCreate_data() {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QList<bool>>("allowed"); // income, orders, receipts, disbursements
        QTest::newRow("no rights text") << "" << QList<bool>{true, true, true, true};
        QTest::newRow("no new income")
            << "IncomeDoc2=N\x01" << QList<bool>{false, true, false, true};
        QTest::newRow("no new issue, others allowed")
            << "IssueDoc2=N\x01IncomeDoc3=N\x01IncomeDoc2=Y\x01"
            << QList<bool>{true, false, true, false};
        QTest::newRow("only N denies")
            << "IncomeDoc2=n\x01IssueDoc2=No\x01" << QList<bool>{true, true, true, true};
    }
    void newFollowsTheRightToCreate() {
        QFETCH(QString, rights);
        QFETCH(QList<bool>, allowed);
        setUserRights(rights);
        const QList<BrowserFactory> browsers{
            factory<IncomingPaymentsBrowser>(), factory<PaymentOrdersBrowser>(),
            factory<CashReceiptsBrowser>(), factory<CashDisbursementsBrowser>()};
        for (int i = 0; i < browsers.size(); ++i) {
            DocumentBrowser* browser = browsers[i](*m_main);
            QCOMPARE(browser->newAction()->isEnabled(), allowed[i]);
            QVERIFY(browser->openAction()->isEnabled());
        }
    }

    // The lookup opens when the user goes into the filter's box, and not when the focus only
    // comes back to it.
    void theLookupOpensOnTheUsersFocusOnly() {
        auto* browser = m_main->showPane<IncomingPaymentsBrowser>();
        QLineEdit* edit = browser->partnerFilterEdit();
        QVERIFY(edit->isReadOnly());
        for (Qt::FocusReason reason :
             {Qt::OtherFocusReason, Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
            browser->grid()->setFocus();
            edit->setFocus(reason);
            QVERIFY(edit->hasFocus());
            QVERIFY2(!openLookup(*browser), qPrintable(QString::number(reason)));
        }
        for (Qt::FocusReason reason :
             {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::MouseFocusReason}) {
            browser->grid()->setFocus();
            edit->setFocus(reason);
            PartnerFilterLookup* lookup = openLookup(*browser);
            QVERIFY2(lookup && lookup->isVisible(), qPrintable(QString::number(reason)));
            QCOMPARE(lookup->geometry().left(), edit->mapToGlobal(QPoint(0, 0)).x());
            QCOMPARE(lookup->width(), edit->width());
            QTest::keyClick(lookup->filterEdit(), Qt::Key_Escape);
            endLookup(m_main);
            QVERIFY(!openLookup(*browser));
            QCOMPARE(m_main->focusWidget(), browser->grid());
        }
        QVERIFY(browser->findChild<QMenu*>(QStringLiteral("gridMenu"))
                    ->actions()
                    .contains(browser->partnerFilterAction()));
        QCOMPARE(browser->partnerFilterAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(browser->partnerFilterAction()->text(), QStringLiteral("Показывать только"));
    }

    // Closing the lookup without a choice lists every partner's documents again.
    void aCancelledLookupShowsEveryPartner() {
        auto* browser = m_main->showPane<IncomingPaymentsBrowser>();
        browser->partnerFilterAction()->trigger();
        type(openLookup(*browser)->filterEdit(), QStringLiteral("Бета"));
        QTest::keyClick(openLookup(*browser)->filterEdit(), Qt::Key_Return);
        endLookup(m_main);
        QCOMPARE(browser->partnerFilter(), m_partners.value(QStringLiteral("Бета")));
        browser->grid()->selectRow(1);
        const int standing = currentKey(*browser);

        browser->partnerFilterAction()->trigger();
        QTest::keyClick(openLookup(*browser)->filterEdit(), Qt::Key_Escape);
        endLookup(m_main);
        QCOMPARE(browser->partnerFilter(), DocumentBrowser::kAllPartners);
        QCOMPARE(browser->partnerFilterEdit()->text(), QStringLiteral("Все фирмы"));
        QCOMPARE(keys(*browser).size(), 6);
        QCOMPARE(currentKey(*browser), standing);
        QCOMPARE(shownTotal(*browser), QStringLiteral("354.75"));
    }
};

QTEST_MAIN(TestDocumentBrowsers)
#include "test_document_browsers.moc"
