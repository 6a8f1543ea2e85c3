// The stored reports on a sample book, to look at: the main window with a report browser, or a
// report window over it.
//
//   sample_reports movement|payers|recipients|browser

#include "tests/support/shell/book_rows.h"
#include "tests/support/shell/pane_machine.h"

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "reports/movement_report.h"
#include "reports/partner_reports.h"
#include "shell/period_dialog.h"
#include "store/data_store.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <functional>

namespace {

void addDocument(int type, int partner, int day, const QString& reason, double sum) {
    const int key = DataStore::instance().newKey(QStringLiteral("OPER"));
    runOnBook(
        QStringLiteral("INSERT INTO OPER (PRKEY, TYP, LPART, DAT, REASON, SUM1, NUM)\n"
                       "VALUES (:K, :T, :P, :D, :R, :S, :N)"),
        [&](fb::Statement& q) {
            q.param(QStringLiteral("K")).setInteger(key);
            q.param(QStringLiteral("T")).setInteger(type);
            q.param(QStringLiteral("P")).setInteger(partner);
            q.param(QStringLiteral("D")).setDateTime(datetime::encodeDate(2024, 3, day) + 0.4);
            q.param(QStringLiteral("R")).setString(reason);
            q.param(QStringLiteral("S")).setFloat(sum);
            q.param(QStringLiteral("N")).setString(QString::number(key % 1000));
        });
}

void fillBook() {
    const int alpha = addPartnerRow(1, QStringLiteral("ООО Альфа"));
    const int beta = addPartnerRow(1, QStringLiteral("ИП Бета"));
    const int vega = addPartnerRow(2, QStringLiteral("ПАО Вега"));
    const int gamma = addPartnerRow(2, QStringLiteral("ЗАО Гамма"));
    addDocument(1, alpha, 1, QStringLiteral("Аренда помещений"), 12500);
    addDocument(1, beta, 1, QStringLiteral("Оплата услуг"), 3400.5);
    addDocument(2, vega, 1, QStringLiteral("Заработная плата"), 9000);
    addDocument(1, alpha, 4, QStringLiteral("Оплата услуг"), 780);
    addDocument(2, gamma, 5, QStringLiteral("Хозяйственные расходы"), 1250.75);
    addDocument(2, vega, 11, QStringLiteral("Заработная плата"), 4500);
    addDocument(1, beta, 12, QStringLiteral("Аренда помещений"), 6000);
    addDocument(2, gamma, 20, QStringLiteral("Хозяйственные расходы"), 310.2);
}

// Confirms the period dialog, on March 2024 or on the period it proposes.
void confirmPeriod(bool march) {
    QTimer::singleShot(300, [march] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<PeriodDialog*>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            if (march)
                dialog->setPeriod(
                    {datetime::encodeDate(2024, 3, 1), datetime::encodeDate(2024, 3, 31)});
            dialog->accept();
        }
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("movement");
    PaneMachine machine(BookKind::CashDesk, QStringLiteral("Касса"));
    ShellWindow& main = machine.start();
    main.resize(1200, 800);
    fillBook();
    main.setBrowsePeriod({datetime::encodeDate(2024, 1, 1), datetime::encodeDate(2024, 12, 31)});
    // Once the main window shows.
    QTimer::singleShot(1000, [&main, what] {
        ReportBrowser* browser =
            what == QLatin1String("payers") ? main.showPane<PayersReportBrowser>()
            : what == QLatin1String("recipients")
                ? static_cast<ReportBrowser*>(main.showPane<RecipientsReportBrowser>())
                : main.showPane<MovementReportBrowser>();
        const int runs = what == QLatin1String("browser") ? 2 : 1;
        for (int i = 0; i < runs; ++i) {
            confirmPeriod(i == 0);
            browser->newAction()->trigger();
            if (what != QLatin1String("browser"))
                continue;
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* report = qobject_cast<ReportWindow*>(window))
                    report->saveAction()->trigger();
        }
    });
    return app.exec();
}
