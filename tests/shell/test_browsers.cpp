#include "paneTestSupport.h"

#include "platform/firebird/fbDataSet.h"
#include "platform/firebird/fbStatement.h"
#include "platform/firebird/fbTransaction.h"
#include "shell/fmDBGridBrowserPeriod.h"
#include "store/uNewDatabase.h"
#include "util/DBGridUtil.h"

#include <QApplication>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QString stamp(TDateTime value) {
    return datetime::decode(value).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz"));
}

void execute(const QString& sql, const QVariantMap& params = {}) {
    fb::Statement& q = dtmdlDataStoreProto->qryAny();
    q.close();
    q.prepare(sql, fb::ParamMode::Named);
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (it.value().typeId() == QMetaType::Int)
            q.param(it.key()).setInteger(it.value().toInt());
        else
            q.param(it.key()).setString(it.value().toString());
    }
    dtmdlDataStoreProto->tractAny().ensureStarted();
    q.execute();
    dtmdlDataStoreProto->tractAny().commit();
}

int addPayer(const QString& name) {
    const int key = dtmdlDataStoreProto->GetNewKey(QStringLiteral("PARTS"));
    execute(QStringLiteral("INSERT INTO PARTS (PRKEY, TYP, LNAM) VALUES (:K, 1, :N)"),
            {{"K", key}, {"N", name}});
    return key;
}

// A period browser of the payers: it notes each query it writes and each row it opens.
class TfrmPayersBrowser : public TfrmDBGridBrowserPeriod {
    Q_OBJECT
public:
    explicit TfrmPayersBrowser(QWidget* owner) : TfrmDBGridBrowserPeriod(owner) {
        setWindowTitle(QStringLiteral("Плательщики"));
        SetGridColumns(*dbgrdBrowse, {{"PRKEY", Qt::AlignRight, "Код", 60},
                                      {"LNAM", Qt::AlignLeft, "Название", 200}});
    }
    int prepared = 0;
    TPeriod periodRead;
    QList<int> opened;
    void PrepareQuery() override {
        ++prepared;
        periodRead = SharedPeriod();
        qryBrowse->setSQL(
            QStringLiteral("SELECT PRKEY, LNAM FROM PARTS WHERE TYP=:TYP ORDER BY LNAM"));
        qryBrowse->setParam(QStringLiteral("TYP"), 1);
        tlbtnPeriod->setText(PeriodDateText(periodRead.Start) + "-" +
                             PeriodDateText(periodRead.End));
    }
    void btnOpenClick() override {
        if (!qryBrowse->isEmpty())
            opened << int(qryBrowse->field(QStringLiteral("PRKEY")).asInteger());
    }
    int currentKey() { return int(qryBrowse->field(QStringLiteral("PRKEY")).asInteger()); }
};

class TfrmOtherPayersBrowser : public TfrmPayersBrowser {
    Q_OBJECT
public:
    using TfrmPayersBrowser::TfrmPayersBrowser;
};

// Runs action once the period dialog is shown modally.
void whenPeriodDialogShows(const std::function<void(TfrmSelectPeriod&)>& action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<TfrmSelectPeriod*>(QApplication::activeModalWidget());
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
        QTest::addColumn<TDateTime>("now");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        const TDateTime leapMarch1 = datetime::encodeDate(2024, 3, 1) + 0.75;
        const TDateTime commonMarch1 = datetime::encodeDate(2023, 3, 1) + 0.25;
        const TDateTime march31 = datetime::encodeDate(2023, 3, 31) + 0.5;
        const TDateTime feb29 = datetime::encodeDate(2024, 2, 29) + 0.999;
        const int day = int(TPeriodKind::Day), month = int(TPeriodKind::Month),
                  quarter = int(TPeriodKind::Quarter), year = int(TPeriodKind::Year);
        auto row = [](const char* name, TDateTime now, int kind, const char* caption,
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
        QFETCH(TDateTime, now);
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QCOMPARE(ShortcutCaption(TPeriodKind(kind), now), caption);
        const TPeriod period = ShortcutPeriod(TPeriodKind(kind), now);
        QCOMPARE(stamp(period.Start), start + " 00:00:00.000");
        QCOMPARE(stamp(period.End), end + " 23:59:59.999");
    }

    void aShortcutSetsTheSharedPeriodThatTheNextBrowserReads() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        const TDateTime now = datetime::encodeDate(2024, 3, 1) + 0.5;
        datetime::setNowForTesting([now] { return now; });
        TfrmMain& main = m.start();
        auto* browser = main.ShowPane<TfrmPayersBrowser>();
        QVERIFY(browser);
        QCOMPARE(browser->prepared, 1);
        QCOMPARE(browser->periodRead.Start, now - 31);
        QCOMPARE(browser->periodRead.End, now + 10);
        QCOMPARE(browser->tlbtnPeriod->text(), QStringLiteral("30.01.2024-11.03.2024"));

        emit browser->pmPeriod->aboutToShow();
        QCOMPARE(browser->mnitDayPeriod->text(), QStringLiteral("День 01.03.2024"));
        QCOMPARE(browser->mnitMonthPeriod->text(), QStringLiteral("Месяц c 30.01.2024"));
        QCOMPARE(browser->mnitQuarterPeriod->text(), QStringLiteral("Квартал c 30.11.2023"));
        QCOMPARE(browser->mnitYearPeriod->text(), QStringLiteral("Год c 02.03.2023"));

        browser->mnitMonthPeriod->trigger();
        QCOMPARE(browser->prepared, 2);
        QCOMPARE(stamp(main.DefaultPeriodStart), QStringLiteral("01.02.2024 00:00:00.000"));
        QCOMPARE(stamp(main.DefaultPeriodEnd), QStringLiteral("02.03.2024 23:59:59.999"));
        QCOMPARE(browser->tlbtnPeriod->text(), QStringLiteral("01.02.2024-02.03.2024"));

        auto* other = main.ShowPane<TfrmOtherPayersBrowser>();
        QCOMPARE(stamp(other->periodRead.Start), QStringLiteral("01.02.2024 00:00:00.000"));
        QCOMPARE(stamp(other->periodRead.End), QStringLiteral("02.03.2024 23:59:59.999"));
        QVERIFY(m.messages.isEmpty());
    }

    void thePeriodDialogReplacesThePeriodOnlyOnOK() {
        TPaneMachine m(otBankAccount, QStringLiteral("Счет"));
        TfrmMain& main = m.start();
        auto* browser = main.ShowPane<TfrmPayersBrowser>();
        const TPeriod before = TfrmDBGridBrowserPeriod::SharedPeriod();

        whenPeriodDialogShows([&](TfrmSelectPeriod& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Период просмотра записей"));
            QCOMPARE(dialog.edtSDAT->date(), datetime::decodeDate(before.Start));
            dialog.edtSDAT->setDate(QDate(2024, 2, 10));
            dialog.btnCancel->click();
        });
        browser->mnitSelectPeriod->trigger();
        QCOMPARE(main.DefaultPeriodStart, before.Start);
        QCOMPARE(main.DefaultPeriodEnd, before.End);
        QCOMPARE(browser->prepared, 1);

        whenPeriodDialogShows([&](TfrmSelectPeriod& dialog) {
            dialog.edtSDAT->setDate(QDate(2024, 2, 10));
            dialog.edtEDAT->setDate(QDate(2024, 2, 29));
            // Enter moves on to the next field instead of closing the dialog.
            dialog.edtSDAT->setFocus();
            QTest::keyClick(dialog.edtSDAT, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            dialog.btnOK->click();
        });
        browser->mnitSelectPeriod->trigger();
        QCOMPARE(stamp(main.DefaultPeriodStart), QStringLiteral("10.02.2024 00:00:00.000"));
        QCOMPARE(stamp(main.DefaultPeriodEnd), QStringLiteral("29.02.2024 23:59:59.999"));
        QCOMPARE(browser->prepared, 2);
    }

    void refreshKeepsTheCurrentRowWhileItIsThere() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        const int beta = addPayer(QStringLiteral("Бета"));
        const int gamma = addPayer(QStringLiteral("Гамма"));
        const int delta = addPayer(QStringLiteral("Дельта"));
        auto* browser = main.ShowPane<TfrmPayersBrowser>();
        QCOMPARE(browser->currentKey(), beta);
        QVERIFY(browser->qryBrowse->locate(QStringLiteral("PRKEY"), gamma));
        QCOMPARE(browser->qryBrowse->currentRow(), 1);

        addPayer(QStringLiteral("Альфа"));
        browser->RefreshBrowse(0);
        QCOMPARE(browser->qryBrowse->recordCount(), 4);
        QCOMPARE(browser->currentKey(), gamma);
        QCOMPARE(browser->qryBrowse->currentRow(), 2);

        browser->RefreshBrowse(delta);
        QCOMPARE(browser->currentKey(), delta);

        execute(QStringLiteral("DELETE FROM PARTS WHERE PRKEY=:K"), {{"K", delta}});
        browser->RefreshBrowse(0);
        QCOMPARE(browser->qryBrowse->recordCount(), 3);
        QCOMPARE(browser->qryBrowse->currentRow(), 0);
    }

    void enterDoubleClickAndTheMenuOpenTheCurrentRow() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        const int beta = addPayer(QStringLiteral("Бета"));
        const int gamma = addPayer(QStringLiteral("Гамма"));
        auto* browser = main.ShowPane<TfrmPayersBrowser>();
        TDBGrid* grid = browser->dbgrdBrowse;
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(browser->opened, QList<int>{beta});
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        QVERIFY(cell.isValid());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(browser->opened, (QList<int>{beta, gamma}));
        browser->mnitOpen->trigger();
        QCOMPARE(browser->opened, (QList<int>{beta, gamma, gamma}));
    }

    void theUsersColumnLayoutSurvivesClosingAndReopening() {
        TPaneMachine m(otCashDesk, QStringLiteral("Касса"));
        TfrmMain& main = m.start();
        auto* browser = main.ShowPane<TfrmPayersBrowser>();
        const int defaultWidth = browser->dbgrdBrowse->ColumnWidth(0);
        browser->dbgrdBrowse->SetColumnWidth(1, 321);
        browser->dbgrdBrowse->MoveColumn(1, 0);
        // Another browser class keeps its own layout.
        auto* other = main.ShowPane<TfrmOtherPayersBrowser>();
        QCOMPARE(other->dbgrdBrowse->ColumnFieldName(0), QStringLiteral("PRKEY"));
        QCOMPARE(other->dbgrdBrowse->ColumnWidth(0), defaultWidth);
        browser = main.ShowPane<TfrmPayersBrowser>();
        QCOMPARE(browser->dbgrdBrowse->ColumnFieldName(0), QStringLiteral("LNAM"));
        QCOMPARE(browser->dbgrdBrowse->ColumnWidth(0), 321);
        QCOMPARE(browser->dbgrdBrowse->ColumnFieldName(1), QStringLiteral("PRKEY"));
    }
};

QTEST_MAIN(TestBrowsers)
#include "test_browsers.moc"
