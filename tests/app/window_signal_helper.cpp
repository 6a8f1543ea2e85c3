// The program as app/main.cpp runs it, on the book of KALTRO_INI, with a window opened in it
// once its main window is up; the first argument names the window:
// - "new-report": the window of a new money movement report, its period confirmed;
// - "stored-report": the window of the stored money movement report that the browser shows
//   first;
// - "period-dialog": the period dialog of a new money movement report, its window not yet shown;
// - "pick-dialog": a pick dialog over the window of a new money movement report;
// - "expense-analysis": the expense analysis of the stored money movement report that its
//   browser shows first.
// It says "opened" on its standard output once the window is there, and waits for the signal
// that ends it.
#include "app/program.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/engine_shutdown.h"
#include "reports/report_window.h"
#include "shell/grid_browser_pane.h"
#include "shell/main_window_base.h"
#include "shell/period_dialog.h"
#include "store/data_store.h"
#include "ui/guard.h"
#include "ui/pick_dialog.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

// "opened" once a modal window is up; "no modal window" when none is.
void sayOpened() {
    std::puts(QApplication::activeModalWidget() ? "opened" : "no modal window");
    std::fflush(stdout);
}

// Once control is in the event loop of the modal window that comes up next.
void sayOpenedOnceShown() {
    QTimer::singleShot(0, sayOpened);
}

template <class Widget> Widget* activeModal() {
    return qobject_cast<Widget*>(QApplication::activeModalWidget());
}

// The period dialog that comes up next is confirmed as it stands.
void confirmPeriod() {
    QTimer::singleShot(0, [] {
        if (auto* dialog = activeModal<PeriodDialog>())
            dialog->okButton()->click();
    });
}

// A pick dialog over the report window, listing the book's users.
void pickOverReport() {
    auto* report = activeModal<ReportWindow>();
    auto* dialog = PickDialog::create(DataStore::instance().database(), report);
    dialog->query().setSQL(QStringLiteral("SELECT PRKEY FROM USERS"));
    dialog->query().open();
    sayOpenedOnceShown();
    dialog->execute({}, {});
}

GridBrowserPane* showBrowser(MainWindowBase& main, const char* item) {
    main.findChild<QAction*>(QString::fromLatin1(item))->trigger();
    return qobject_cast<GridBrowserPane*>(main.currentPane());
}

void openWindow(MainWindowBase& main, const QString& which) {
    if (which == QLatin1String("expense-analysis")) {
        GridBrowserPane* browser = showBrowser(main, "expenseAnalysisAction");
        sayOpenedOnceShown();
        browser->openAction()->trigger();
        return;
    }
    GridBrowserPane* browser = showBrowser(main, "movementReportAction");
    if (which == QLatin1String("stored-report")) {
        sayOpenedOnceShown();
        browser->openAction()->trigger();
        return;
    }
    if (which == QLatin1String("period-dialog"))
        sayOpenedOnceShown();
    else
        confirmPeriod();
    browser->newAction()->trigger();
    if (which == QLatin1String("new-report"))
        sayOpened();
    else if (which == QLatin1String("pick-dialog"))
        QTimer::singleShot(0, pickOverReport);
}

// Waits for the main window to be up, then opens the window.
void openWhenUp(const QString& which) {
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [poll, which] {
        MainWindowBase* main = MainWindowBase::current();
        if (!main || !main->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        openWindow(*main, which);
    });
    poll->start(50);
}

} // namespace

int main(int argc, char** argv) {
    fb::prepareEmbeddedEngine();
    fb::refuseSignalShutdown();
    GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kaltro"));
    useRussianLocale();
    openWhenUp(app.arguments().value(1));
    const int exitCode = runProgram(iniPathFromEnvironment());
    fb::shutDownEngine();
    return exitCode;
}
