// The expense analysis to look at, on a book of its own with March's spending and limits: the
// main window with the analysis browser, the analysis of March over it (with the pointer on its
// print button: its hint in the status bar), or its pie chart too; or the chart printed to a PDF
// file.
//
//   sample_expense_analysis [browser | analysis | hint | chart]
//   sample_expense_analysis pdf FILE

#include "app/main_window.h"
#include "core/date_time.h"
#include "platform/firebird/data_set.h"
#include "printing/report_output.h"
#include "reports/expense_analysis.h"
#include "reports/expense_analysis_browser.h"
#include "tests/support/shell/book_machine.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLocale>
#include <QTimer>

namespace {

struct Spending {
    const char* type;
    const char* limit; // "NULL" for none
    const char* amounts[3];
};

const Spending kSpending[] = {
    {"Аренда офиса", "12000", {"12000", nullptr, nullptr}},
    {"Канцтовары", "1500", {"480.50", "1210", nullptr}},
    {"Связь и интернет", "NULL", {"950", nullptr, nullptr}},
    {"Транспорт", "3000", {"1200", "1800", nullptr}},
    {"Хозяйственные нужды", "2500", {"640", "315.75", "120"}},
    {"Командировки", "5000", {nullptr, nullptr, nullptr}},
};

void fillBook(const QString& book) {
    execute(book, "UPDATE PARTS SET ETC='StoreCapt=Касса магазина \"Ромашка\"' || ASCII_CHAR(1) "
                  "|| ETC WHERE PRKEY=0");
    execute(book, "INSERT INTO PARTS (PRKEY, TYP, LNAM, LOWNER) VALUES (20000, 2, "
                  "'ООО \"Поставщик\"', 0)");
    execute(book, "INSERT INTO OPER (PRKEY, TYP, DAT, DAT2, SUM2) VALUES (30000, 101, "
                  "'2024-03-01', '2024-03-31 23:59:59', 15230.75)");
    int key = 21000;
    int day = 1;
    for (const Spending& s : kSpending) {
        execute(book, QStringLiteral("INSERT INTO REASONS (PRKEY, TYP, REASON, LIMIT) VALUES "
                                     "(%1, 2, '%2', %3)")
                          .arg(key++)
                          .arg(QString::fromUtf8(s.type), QString::fromLatin1(s.limit)));
        for (const char* amount : s.amounts) {
            if (!amount)
                continue;
            execute(book, QStringLiteral("INSERT INTO OPER (PRKEY, TYP, NUM, DAT, LPART, REASON, "
                                         "SUM1) VALUES (%1, 2, '%2', '2024-03-%3 10:00', 20000, "
                                         "'%4', %5)")
                              .arg(key++)
                              .arg(day)
                              .arg(day, 2, 10, QLatin1Char('0'))
                              .arg(QString::fromUtf8(s.type), QString::fromLatin1(amount)));
            day += 2;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QString show = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("browser");
    Machine machine;
    const QString book = machine.addBook(BookKind::CashDesk, QStringLiteral("Касса"));
    fillBook(book);
    MainWindow main(machine.ini);
    if (main.runStartup() != StartupEnd::GoOn)
        return 1;
    main.setBrowsePeriod({datetime::encodeDate(2024, 1, 1), datetime::encodeDate(2024, 12, 31)});
    main.showMaximized();
    main.findChild<QAction*>(QStringLiteral("expenseAnalysisAction"))->trigger();
    auto* browser = qobject_cast<ExpenseAnalysisBrowser*>(main.currentPane());
    if (show == QLatin1String("pdf") && argc > 2) {
        ExpenseAnalysis analysis(&main, datetime::encodeDate(2024, 3, 1));
        analysis.chartAction()->trigger();
        QApplication::processEvents();
        printing::printPageToPdf(analysis.chartWindow()->page(), QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    if (browser && show != QLatin1String("browser")) {
        QTimer::singleShot(500, browser, [browser, show] {
            if (show == QLatin1String("chart"))
                QTimer::singleShot(1000, [] {
                    if (auto* analysis =
                            qobject_cast<ExpenseAnalysis*>(QApplication::activeModalWidget()))
                        analysis->chartAction()->trigger();
                });
            if (show == QLatin1String("hint"))
                QTimer::singleShot(1000, [] {
                    if (auto* analysis =
                            qobject_cast<ExpenseAnalysis*>(QApplication::activeModalWidget()))
                        if (auto* print = analysis->findChild<QWidget*>("printButton"))
                            QCursor::setPos(print->mapToGlobal(print->rect().center()));
                });
            browser->openAction()->trigger();
        });
    }
    return app.exec();
}
