#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "printing/report_output.h"
#include "reports/expense_analysis.h"
#include "reports/pie_chart_window.h"
#include "reports/report_sheet.h"
#include "tests/support/platform/pdf_text.h"
#include "tests/support/reports/sheet_keys.h"
#include "tests/support/store/report_book.h"
#include "tests/support/ui/dialog_recorder.h"
#include "ui/pick_dialog.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPieSeries>
#include <QPieSlice>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <memory>

using namespace reportbook;
using namespace sheetkeys;

namespace {

constexpr int kIncome = 1;
constexpr int kIssue = 2;
constexpr int kFirstTypeRow = 4;
constexpr int kColReason = 0;
constexpr int kColSum = 1;
constexpr int kColLimit = 2;

const QString kBookName = QStringLiteral("Касса магазина");

// One issue payment type of the book, in the order of names.
struct TypeCase {
    QString name;
    std::optional<qint64> limit; // in whole units
    qint64 marchSpending;        // in whole units
    bool ofNewBook = false;      // a new book holds it: the test writes it not
};

// Over the limit; a limit without spending; neither; spending without a limit; S = L; under
// the limit.
const QList<TypeCase> kTypes = {
    {QStringLiteral("Аренда"), 100, 150},          {QStringLiteral("Канцтовары"), 50, 0},
    {QStringLiteral("Расход денег"), {}, 0, true}, {QStringLiteral("Связь"), {}, 30},
    {QStringLiteral("Транспорт"), 40, 40},         {QStringLiteral("Хозтовары"), 80, 20},
};

Currency units(qint64 value) {
    return cents(value * 100);
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The payment types the sheet shows, from its first type row on.
QStringList shownTypes(const ReportSheet& sheet) {
    QStringList names;
    for (int y = kFirstTypeRow; y < sheet.yCount(); ++y)
        names << sheet.cellText(kColReason, y);
    return names;
}

// The row of the payment type name; -1 when the sheet does not show it.
int rowOf(const ReportSheet& sheet, const QString& name) {
    for (int y = kFirstTypeRow; y < sheet.yCount(); ++y)
        if (sheet.cellText(kColReason, y) == name)
            return y;
    return -1;
}

} // namespace

class TestExpenseAnalysis : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    // A book with the issue types above, their March documents at the month's edges, documents
    // just outside March and of income that count for nothing.
    void init() {
        m_book = std::make_unique<ReportBook>();
        m_book->store().options().setOption(QStringLiteral("StoreCapt"), kBookName);
        const int partner = m_book->addPartner(kIssue, QStringLiteral("ООО Ромашка"));
        m_book->addPaymentType(kIncome, QStringLiteral("Выручка"));
        m_keys[QStringLiteral("Расход денег")] = 2;
        for (const TypeCase& t : kTypes) {
            if (t.ofNewBook)
                continue;
            m_keys[t.name] = m_book->addPaymentType(
                kIssue, t.name, t.limit ? std::optional(units(*t.limit)) : std::nullopt);
            if (t.marchSpending == 0)
                continue;
            const qint64 first = t.marchSpending / 3;
            m_book->addDocument(kIssue, at("2024-03-01"), partner, t.name, units(first), "1");
            m_book->addDocument(kIssue, at("2024-03-31 23:59:59"), partner, t.name,
                                units(t.marchSpending - first), "2");
            m_book->addDocument(kIssue, at("2024-02-29 23:59:59"), partner, t.name, units(7), "3");
            m_book->addDocument(kIssue, at("2024-04-01"), partner, t.name, units(9), "4");
        }
        m_book->addDocument(kIncome, at("2024-03-10"), partner, QStringLiteral("Выручка"),
                            units(500));
    }
    void cleanup() { m_book.reset(); }

    // Title, header and the cells of every type of the month.
    void sheetLaysTheMonthOut() {
        ExpenseAnalysis analysis(nullptr, at("2024-03-17 12:00:00"));
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::All));
        const ReportSheet& sheet = *analysis.sheet();
        QCOMPARE(sheet.cellText(0, 0), kBookName);
        QCOMPARE(sheet.rowTag(0, kExpenseRowTitle), QStringLiteral("Y"));
        QCOMPARE(sheet.cellText(0, 1), QStringLiteral("Анализ расходов за март 2024 г."));
        QCOMPARE(sheet.rowTag(3, kExpenseRowHeader), QStringLiteral("Y"));
        const QStringList header{"Расход (тип платежа)", "Сумма", "Лимит"};
        const QList<SheetGrid::Borders> headerBorders{{2, 1, 2, 1}, {1, 1, 2, 1}, {1, 2, 2, 1}};
        for (int x = 0; x < 3; ++x) {
            QCOMPARE(sheet.cellText(x, 3), header.at(x));
            QCOMPARE(sheet.cellAlignment(x, 3), CellAlignment::Center);
            QCOMPARE(sheet.cellBorders(x, 3), headerBorders.at(x));
        }
        QCOMPARE(sheet.columnTag(kColReason, kExpenseColReason), QStringLiteral("Y"));
        QCOMPARE(sheet.columnTag(kColSum, kExpenseColSum), QStringLiteral("Y"));
        QCOMPARE(sheet.columnTag(kColLimit, kExpenseColLimit), QStringLiteral("Y"));
        QCOMPARE(sheet.colWidth(kColReason), 400);
        QCOMPARE(sheet.colWidth(kColSum), 85);
        QCOMPARE(sheet.colWidth(kColLimit), 85);
        QCOMPARE(sheet.fixedCols(), 0);
        QCOMPARE(sheet.fixedRows(), 0);

        QCOMPARE(sheet.yCount(), kFirstTypeRow + int(kTypes.size()));
        // The grid is as large as its cells.
        QCOMPARE(sheet.colCount(), 3);
        QCOMPARE(sheet.rowCount(), sheet.yCount());
        for (int i = 0; i < kTypes.size(); ++i) {
            const TypeCase& t = kTypes.at(i);
            const int y = kFirstTypeRow + i;
            const Currency limit = units(t.limit.value_or(0));
            QCOMPARE(sheet.cellText(kColReason, y), t.name);
            QCOMPARE(sheet.rowTag(y, kExpenseRowReason), t.name);
            QCOMPARE(sheet.rowTag(y, kExpenseRowKey), QString::number(m_keys.value(t.name)));
            QCOMPARE(sheet.rowTag(y, kExpenseRowIndex), QString::number(i));
            QCOMPARE(sheet.cellCurrency(kColSum, y), units(t.marchSpending));
            QCOMPARE(sheet.cellCurrency(kColLimit, y), limit);
            QCOMPARE(sheet.cellNumberFormat(kColSum, y), QStringLiteral("#0.00"));
            QCOMPARE(sheet.cellAlignment(kColLimit, y), CellAlignment::Right);
            QCOMPARE(sheet.cellParam(kColSum, y, "H"), QStringLiteral("1"));
            QCOMPARE(sheet.cellParam(kColLimit, y, "W"), QStringLiteral("1"));
            QCOMPARE(sheet.cellParam(kColSum, y, "W"), QString());
            QCOMPARE(sheet.cellTextColor(kColSum, y),
                     units(t.marchSpending) > limit ? kRedColor : kBlueColor);
            QCOMPARE(sheet.cellColor(kColLimit, y), SheetColor(0x00C2FFFF));
            for (int x = 0; x < 3; ++x)
                QCOMPARE(sheet.cellBorders(x, y), (SheetGrid::Borders{1, 1, 1, 1}));
        }
    }

    // Each mode shows the types it should, in the order of names; the index tag still points
    // into the whole list.
    void modesShowTheirTypes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("with a limit") << 0 << QStringList{"Аренда", "Транспорт", "Хозтовары"};
        QTest::newRow("any spending")
            << 1 << QStringList{"Аренда", "Связь", "Транспорт", "Хозтовары"};
        QTest::newRow("over the limit") << 2 << QStringList{"Аренда"};
        QTest::newRow("under the limit") << 3 << QStringList{"Канцтовары", "Хозтовары"};
        QTest::newRow("all") << 4 << QStringList{"Аренда", "Канцтовары", "Расход денег",
                                                 "Связь",  "Транспорт",  "Хозтовары"};
    }
    void modesShowTheirTypes() {
        QFETCH(int, mode);
        QFETCH(QStringList, shown);
        ExpenseAnalysis analysis(nullptr, at("2024-03-01"));
        QCOMPARE(analysis.modeBox()->currentIndex(), 0);
        QCOMPARE(analysis.modeBox()->count(), 5);
        analysis.modeBox()->setCurrentIndex(mode);
        QCOMPARE(shownTypes(*analysis.sheet()), shown);
        QCOMPARE(analysis.sheet()->rowCount(), kFirstTypeRow + int(shown.size()));
        QCOMPARE(analysis.sheet()->colCount(), 3);
        for (int y = kFirstTypeRow; y < analysis.sheet()->yCount(); ++y) {
            const int index = analysis.sheet()->rowTag(y, kExpenseRowIndex).toInt();
            QCOMPARE(kTypes.at(index).name, analysis.sheet()->cellText(kColReason, y));
        }
    }

    // A limit typed and entered is written once at once, kept in memory, and the rows redrawn
    // under the mode: under the limit no more, the type leaves the view.
    void enterStoresALimitOnceAndRedraws() {
        logLimitWrites();
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::UnderLimit));
        const int row = rowOf(sheet, QStringLiteral("Хозтовары"));
        QVERIFY(row > 0);
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        type(sheet, QStringLiteral("10"));
        press(sheet, Qt::Key_Return);
        settle();
        QCOMPARE(limitWrites(), QStringList{QString::number(m_keys.value("Хозтовары"))});
        QCOMPARE(storedLimit("Хозтовары"), QStringLiteral("10"));
        QCOMPARE(analysis.figures().lines.at(5).limit, units(10));
        QCOMPARE(shownTypes(sheet), QStringList{"Канцтовары"});
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::All));
        QCOMPARE(sheet.cellCurrency(kColLimit, rowOf(sheet, "Хозтовары")), units(10));
        QCOMPARE(sheet.cellTextColor(kColSum, rowOf(sheet, "Хозтовары")), kRedColor);
        QCOMPARE(limitWrites().size(), 1);
    }

    // Up, Down and a move away store an edited limit too, each edit once.
    void arrowsAndMovesStoreAnEditedLimit_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("up") << int(Qt::Key_Up);
        QTest::newRow("down") << int(Qt::Key_Down);
        QTest::newRow("left") << int(Qt::Key_Left);
    }
    void arrowsAndMovesStoreAnEditedLimit() {
        QFETCH(int, key);
        logLimitWrites();
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::All));
        const int row = rowOf(sheet, QStringLiteral("Связь"));
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        type(sheet, QStringLiteral("25.5"));
        press(sheet, Qt::Key(key));
        settle();
        QCOMPARE(storedLimit("Связь"), QStringLiteral("25.5"));
        QCOMPARE(limitWrites().size(), 1);
        QCOMPARE(sheet.cellCurrency(kColLimit, row), Currency{255000});
        // Back on the cell and away again without an edit: nothing more is written.
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        press(sheet, Qt::Key_Return);
        press(sheet, Qt::Key_Down);
        settle();
        QCOMPARE(limitWrites().size(), 1);
    }

    // A limit cell passed through without an edit (the editor opened and entered as it was)
    // leaves the limit another user set since the window read it.
    void anUnchangedCellWritesNothing() {
        logLimitWrites();
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        execute(QStringLiteral("UPDATE REASONS SET LIMIT=999 WHERE PRKEY=%1")
                    .arg(m_keys.value("Аренда")));
        const int row = rowOf(sheet, QStringLiteral("Аренда"));
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        press(sheet, Qt::Key_F2);
        QVERIFY(sheet.isEditing());
        press(sheet, Qt::Key_Return);
        press(sheet, Qt::Key_Up);
        press(sheet, Qt::Key_Down);
        QVERIFY(sheet.setCurrentCell(kColReason, row));
        settle();
        QCOMPARE(storedLimit("Аренда"), QStringLiteral("999"));
        QCOMPARE(limitWrites().size(), 1); // the other user's own
    }

    // A limit that another copy of the program changed, or a type it deleted, after the window
    // read its figures is not written over: the user is told, the figures are read again and
    // show what the book holds, and nothing typed here is stored.
    void aLimitChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("stored"); // empty: the type is gone
        QTest::newRow("changed") << "UPDATE REASONS SET LIMIT=60 WHERE PRKEY=%1"
                                 << "60";
        QTest::newRow("deleted") << "DELETE FROM REASONS WHERE PRKEY=%1"
                                 << "";
    }
    void aLimitChangedElsewhereIsNotOverwritten() {
        QFETCH(QString, elsewhere);
        QFETCH(QString, stored);
        Dialogs dialogs;
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::All));
        const int key = m_keys.value("Канцтовары");
        executeElsewhere(elsewhere.arg(key));
        logLimitWrites();
        QVERIFY(sheet.setCurrentCell(kColLimit, rowOf(sheet, QStringLiteral("Канцтовары"))));
        type(sheet, QStringLiteral("70"));
        press(sheet, Qt::Key_Return);
        settle();
        QCOMPARE(dialogs.texts,
                 QStringList{"Лимит изменен или тип платежа удален в другом окне или другим "
                             "пользователем, пока анализ был открыт здесь. Анализ прочитан "
                             "заново; ваш лимит не сохранен."});
        QCOMPARE(limitWrites(), QStringList());
        QCOMPARE(storedLimit("Канцтовары"), stored);
        const auto line =
            std::find_if(analysis.figures().lines.cbegin(), analysis.figures().lines.cend(),
                         [key](const ExpenseLine& l) { return l.key == key; });
        if (stored.isEmpty()) {
            QCOMPARE(rowOf(sheet, QStringLiteral("Канцтовары")), -1);
            QVERIFY(line == analysis.figures().lines.cend());
            return;
        }
        QCOMPARE(sheet.cellCurrency(kColLimit, rowOf(sheet, QStringLiteral("Канцтовары"))),
                 units(60));
        QVERIFY(line != analysis.figures().lines.cend());
        QCOMPARE(line->limit, units(60));
    }

    // Text that is no limit is refused with its message, nothing is written and the cell shows
    // the old limit again; a good limit typed next into the same cell is stored once.
    void aBadLimitIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative") << "-5"
                                  << "Лимит не может быть отрицательным.";
        QTest::newRow("letters") << "abc"
                                 << "«abc» — не сумма.";
        QTest::newRow("an exponent") << "1e20"
                                     << "«1e20» — не сумма.";
        QTest::newRow("beyond any amount") << "99999999999999999"
                                           << "«99999999999999999» — не сумма.";
    }
    void aBadLimitIsRefused() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        logLimitWrites();
        Dialogs dialogs;
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::All));
        const int row = rowOf(sheet, QStringLiteral("Хозтовары"));
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        type(sheet, typed);
        press(sheet, Qt::Key_Return);
        settle();
        QCOMPARE(dialogs.texts, QStringList{message});
        QCOMPARE(limitWrites(), QStringList());
        QCOMPARE(sheet.cellCurrency(kColLimit, row), units(80));
        QCOMPARE(analysis.figures().lines.at(5).limit, units(80));
        QCOMPARE(storedLimit("Хозтовары"), QStringLiteral("80"));

        type(sheet, QStringLiteral("90"));
        press(sheet, Qt::Key_Return);
        settle();
        QCOMPARE(dialogs.texts.size(), 1);
        QCOMPARE(limitWrites(), QStringList{QString::number(m_keys.value("Хозтовары"))});
        QCOMPARE(storedLimit("Хозтовары"), QStringLiteral("90"));
    }

    // Print and export by the rights "AnIssueReport" 7 and 8; the chart's print follows print.
    void rightsEnablePrintAndExport_data() {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("exportable");
        const QString end(QChar(1));
        QTest::newRow("everything") << QString() << true << true;
        QTest::newRow("no print") << "AnIssueReport7=N" + end << false << true;
        QTest::newRow("no export") << "AnIssueReport8=N" + end << true << false;
        QTest::newRow("neither") << "AnIssueReport7=N" + end + "AnIssueReport8=N" + end << false
                                 << false;
        QTest::newRow("another area") << "MovementReport7=N" + end << true << true;
    }
    void rightsEnablePrintAndExport() {
        QFETCH(QString, rights);
        QFETCH(bool, print);
        QFETCH(bool, exportable);
        const int user = m_book->store().newKey(QStringLiteral("USERS"));
        fb::Transaction tr(m_book->database());
        fb::Statement insert(tr, QStringLiteral("INSERT INTO USERS (PRKEY, LNAM, ISADMIN, DATA2) "
                                                "VALUES (:PRKEY, 'Кассир', 0, :DATA2)"));
        insert.param(0).setValue(user);
        insert.param(1).setValue(rights);
        insert.execute();
        tr.commit();
        m_book->store().setUserKey(user);
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        QCOMPARE(analysis.printAction()->isEnabled(), print);
        QCOMPARE(analysis.exportAction()->isEnabled(), exportable);
        QVERIFY(analysis.chartAction()->isEnabled());
        QVERIFY(!analysis.addTypeAction()->isVisible());
        QVERIFY(!analysis.deleteTypeAction()->isVisible());
        QVERIFY(!analysis.contextHelpAction()->isVisible());
        analysis.show();
        QVERIFY(QTest::qWaitForWindowExposed(&analysis));
        for (const char* hidden : {"addTypeButton", "deleteTypeButton", "contextHelpButton"})
            QVERIFY(!analysis.findChild<QToolButton*>(hidden)->isVisible());
        for (const char* shown : {"printButton", "exportButton", "chartButton", "closeButton"})
            QVERIFY(analysis.findChild<QToolButton*>(shown)->isVisible());
        analysis.chartAction()->trigger();
        QVERIFY(analysis.chartWindow());
        QCOMPARE(analysis.chartWindow()->printAction()->isEnabled(), print);
        m_book->store().setUserKey(0);
    }

    // Each button has its hint: in the status bar while the pointer is over the button, gone
    // when it leaves; and as the button's tool tip.
    void buttonsShowTheirHints_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("print") << "printButton"
                               << "Печать ведомости";
        QTest::newRow("export") << "exportButton"
                                << "Экспорт ведомости";
        QTest::newRow("document") << "documentButton"
                                  << "Документы расхода";
        QTest::newRow("chart") << "chartButton"
                               << "Диаграмма расходов";
        QTest::newRow("help") << "helpButton"
                              << "Справка";
        QTest::newRow("close") << "closeButton"
                               << "Закрыть окно";
    }
    void buttonsShowTheirHints() {
        QFETCH(QString, button);
        QFETCH(QString, hint);
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        showAndFocus(analysis);
        auto* shown = analysis.findChild<QToolButton*>(button);
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->toolTip(), hint);
        QCOMPARE(analysis.statusBar()->currentMessage(), QString());
        // The pointer from the sheet onto the button, and back.
        QWindow* window = analysis.windowHandle();
        const QPoint onSheet = analysis.sheet()->mapTo(&analysis, QPoint(20, 20));
        QTest::mouseMove(window, onSheet + QPoint(10, 10));
        QTest::mouseMove(window, onSheet);
        QTest::mouseMove(window, shown->mapTo(&analysis, shown->rect().center()));
        QCOMPARE(analysis.statusBar()->currentMessage(), hint);
        QTest::mouseMove(window, onSheet);
        QCOMPARE(analysis.statusBar()->currentMessage(), QString());
    }

    // A spending cell lists the month's issue documents of its type: the two of March, not
    // those a day outside it.
    void aSpendingCellListsTheMonthsDocuments() {
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        ReportSheet& sheet = *showAndFocus(analysis);
        const int row = rowOf(sheet, QStringLiteral("Аренда"));
        QStringList listed;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<PickDialog*>(QApplication::activeModalWidget());
            shown = dialog != nullptr;
            if (!dialog)
                return;
            for (dialog->query().first(); !dialog->query().eof(); dialog->query().next())
                listed << dialog->query().field(QStringLiteral("NUM")).asString() + "|" +
                              dialog->query().field(QStringLiteral("SUM1")).asString();
            dialog->reject();
        });
        QVERIFY(sheet.setCurrentCell(kColSum, row));
        analysis.documentAction()->trigger();
        QVERIFY(shown);
        listed.sort();
        QCOMPARE(listed, (QStringList{"1|50", "2|100"}));
        // The limit cell beside it is not hot: nothing is listed.
        QVERIFY(sheet.setCurrentCell(kColLimit, row));
        analysis.documentAction()->trigger();
    }

    // The chart: a slice per type that spent anything, in the order of names whatever the
    // mode, labelled with its name; the title names the month.
    void chartShowsTheMonthsSpending() {
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        analysis.modeBox()->setCurrentIndex(int(ExpenseMode::OverLimit));
        analysis.chartAction()->trigger();
        PieChartWindow* chart = analysis.chartWindow();
        QVERIFY(chart);
        QCOMPARE(chart->windowTitle(), QStringLiteral("Диаграмма"));
        QCOMPARE(chart->chart()->title(), QStringLiteral("РАСХОДЫ<br>за март 2024 г."));
        QStringList slices;
        for (QPieSlice* slice : chart->series()->slices()) {
            slices << slice->label() + "=" + QString::number(slice->value());
            QVERIFY(slice->isLabelVisible());
        }
        QCOMPARE(slices, (QStringList{"Аренда=150", "Связь=30", "Транспорт=40", "Хозтовары=20"}));
        QCOMPARE(chart->parentWidget(), &analysis);
        QVERIFY(!chart->isModal());
    }

    void aMonthWithoutSpendingGivesNoSlices() {
        ExpenseAnalysis analysis(nullptr, at("2024-06-10"));
        analysis.chartAction()->trigger();
        QVERIFY(analysis.chartWindow());
        QCOMPARE(analysis.chartWindow()->series()->count(), 0);
        QCOMPARE(analysis.chartWindow()->chart()->title(),
                 QStringLiteral("РАСХОДЫ<br>за июнь 2024 г."));
    }

    // The chart on paper: one lying page with the title and every slice's label on it.
    void chartPrintsToPdf() {
        QTemporaryDir dir;
        ExpenseAnalysis analysis(nullptr, at("2024-03-05"));
        analysis.chartAction()->trigger();
        // The page gets a chart laid out for it, whatever the window's size: no label is cut.
        PieChartWindow* chart = analysis.chartWindow();
        chart->resize(240, 160);
        const QString path = dir.filePath("chart.pdf");
        printing::printPageToPdf(chart->page(), path);
        QCOMPARE(testsupport::pdfPageCount(path), 1);
        const QString text = testsupport::pdfText(path);
        for (const QString& expected :
             {"РАСХОДЫ", "за март 2024 г.", "Аренда", "Связь", "Транспорт", "Хозтовары"})
            QVERIFY2(text.contains(expected), qPrintable(expected + " in: " + text));
        QVERIFY(!text.contains(QStringLiteral("Канцтовары")));
    }

private:
    ReportSheet* showAndFocus(ExpenseAnalysis& analysis) {
        analysis.show();
        analysis.activateWindow();
        if (!QTest::qWaitForWindowActive(&analysis))
            qFatal("the analysis did not become active");
        analysis.sheet()->setFocus();
        return analysis.sheet();
    }

    void execute(const QString& sql) {
        fb::Transaction tr(m_book->database());
        fb::Statement statement(tr, sql);
        statement.execute();
        tr.commit();
    }

    // Runs sql on a connection of its own, as another copy of the program, committed.
    void executeElsewhere(const QString& sql) {
        fb::Attachment other;
        other.attach(m_book->path());
        fb::Transaction tr(other);
        fb::Statement(tr, sql).execute();
        tr.commit();
    }

    // Every update of a payment type from now on noted in a table of the test's own.
    void logLimitWrites() {
        execute(QStringLiteral("CREATE TABLE LIMIT_WRITES (ID INTEGER)"));
        execute(QStringLiteral("CREATE TRIGGER LIMIT_WRITES_AU FOR REASONS AFTER UPDATE AS "
                               "BEGIN INSERT INTO LIMIT_WRITES (ID) VALUES (NEW.PRKEY); END"));
    }
    QStringList limitWrites() {
        return schematest::rows(m_book->database(), "SELECT ID FROM LIMIT_WRITES");
    }
    QString storedLimit(const QString& name) {
        return schematest::value(
            m_book->database(),
            QStringLiteral("SELECT LIMIT FROM REASONS WHERE PRKEY=%1").arg(m_keys.value(name)));
    }

    std::unique_ptr<ReportBook> m_book;
    QHash<QString, int> m_keys;
};

QTEST_MAIN(TestExpenseAnalysis)
#include "test_expense_analysis.moc"
