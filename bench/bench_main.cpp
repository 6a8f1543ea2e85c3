// The benchmark: the program's own work on a generated book beside the bare client library
// doing the same, one line per job: "<job> ours_s=<seconds> bare_s=<seconds> ratio=<ours/bare>",
// each the median of several runs.
//
//   kaltro_bench [--runs N] [--documents N] [--cache FOLDER]

#include "app/main_window.h"
#include "bench/bare_fetch.h"
#include "bench/bench_timing.h"
#include "bench/book_generator.h"
#include "bench/report_jobs.h"
#include "bench/sheet_jobs.h"
#include "core/ini_file.h"
#include "core/version.h"
#include "documents/document_browser.h"
#include "documents/document_window.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/process_heap.h"
#include "store/book_list.h"
#include "store/data_store.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>

#include <cstdio>

namespace {

const QString kCaption = QStringLiteral("Тестовая книга");

void report(const char* job, const QList<double>& ours, const QList<double>& bare) {
    reportJob(job, median(ours), median(bare));
}

// The moments, from its making, at which the grid's rows and the total's text have been painted:
// the watch lets the paint happen inside itself and notes the time after it.
class PaintWatch : public QObject {
public:
    PaintWatch() {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    double rowsPainted = -1;
    double totalPainted = -1;
    // Watches for the next paint of the rows.
    void watchRowsAgain() { rowsPainted = -1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || m_painting)
            return false;
        auto* grid = qobject_cast<DataGrid*>(watched->parent());
        if (grid && watched == grid->viewport() && grid->model()->rowCount() > 0 && rowsPainted < 0)
            return paintAndNote(watched, event, rowsPainted);
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && label->objectName() == QLatin1String("totalLabel") &&
            !label->text().isEmpty() && totalPainted < 0)
            return paintAndNote(watched, event, totalPainted);
        return false;
    }

private:
    bool paintAndNote(QObject* watched, QEvent* event, double& moment) {
        m_painting = true;
        QCoreApplication::sendEvent(watched, event);
        m_painting = false;
        moment = m_clock.nsecsElapsed() / 1e9;
        return true;
    }

    QElapsedTimer m_clock;
    bool m_painting = false;
};

// Runs the event loop until moment is noted.
double until(const double& moment) {
    while (moment < 0)
        QCoreApplication::processEvents();
    return moment;
}

struct BrowserTimes {
    double firstRows = 0;
    double total = 0;
    double allRows = 0;
    int visibleRows = 0;
};

// The income browser opened over the period, as a user does: the first rows and the total on
// screen, then Ctrl+End to the last row, with every row read.
BrowserTimes openIncomeBrowser(MainWindow& main) {
    // The pane of the run before goes first, with its rows, outside the time.
    main.aboutAction()->trigger();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    BrowserTimes times;
    PaintWatch watch;
    auto* browser = main.showPane<IncomingPaymentsBrowser>();
    if (!browser)
        qFatal("the income browser did not open");
    times.firstRows = until(watch.rowsPainted);
    times.total = until(watch.totalPainted);
    DataGrid* grid = browser->grid();
    times.visibleRows = grid->rowAt(grid->viewport()->height() - 1) + 1;
    watch.watchRowsAgain();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(grid, &end);
    fb::DataSet& rows = browser->query();
    if (rows.currentRow() != rows.fetchedCount() - 1 || rows.canFetchMore())
        qFatal("Ctrl+End did not reach the last row");
    times.allRows = until(watch.rowsPainted);
    return times;
}

QByteArray periodConditions(const Period& period) {
    auto stamp = [](DateTime t) {
        return datetime::decode(t).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
    };
    return "WHERE O.LPART=P.PRKEY and O.TYP=1\nand O.DAT BETWEEN '" + stamp(period.start) +
           "' and '" + stamp(period.end) + "'\n";
}

void runBrowserJobs(MainWindow& main, const QString& book, int runs) {
    const Period year = PeriodBrowserPane::sharedPeriod();
    const QByteArray rowsSql = "SELECT O.*,P.LNAM FROM OPER O, PARTS P\n" + periodConditions(year) +
                               "ORDER BY O.DAT DESC, P.LNAM";
    const QByteArray totalSql =
        "SELECT SUM(O.SUM1) FROM OPER O, PARTS P\n" + periodConditions(year);
    BareConnection bare(book);
    QList<double> oursFirst, oursTotal, oursAll, bareFirst, bareTotal, bareAll;
    for (int run = 0; run <= runs; ++run) {
        const BrowserTimes ours = openIncomeBrowser(main);
        const double first = timed([&] { bare.fetch(rowsSql, ours.visibleRows); });
        // What a program of its own does to show the first rows and the total.
        const double total = timed([&] {
            bare.fetch(rowsSql, ours.visibleRows);
            bare.fetch(totalSql);
        });
        int rows = 0;
        const double all = timed([&] { rows = bare.fetch(rowsSql); });
        if (run == 0) { // the warm-up: caches filled, nothing kept
            std::fprintf(stderr, "income browser: %d rows, %d on screen\n", rows, ours.visibleRows);
            continue;
        }
        oursFirst << ours.firstRows;
        oursTotal << ours.total;
        oursAll << ours.allRows;
        bareFirst << first;
        bareTotal << total;
        bareAll << all;
    }
    report("income_browser_first_rows", oursFirst, bareFirst);
    report("income_browser_total", oursTotal, bareTotal);
    report("income_browser_all_rows", oursAll, bareAll);
}

// One incoming payment opened from the income browser, as Enter on its row does, until its
// window is on screen; then closed again outside the time. The bare counterpart reads the same
// row with its partner's name.
void runDocumentJob(MainWindow& main, const QString& book, int runs) {
    openIncomeBrowser(main);
    auto* browser = qobject_cast<IncomingPaymentsBrowser*>(main.currentPane());
    if (!browser)
        qFatal("the income browser is not shown");
    fb::DataSet& rows = browser->query();
    rows.moveTo(rows.fetchedCount() / 2);
    const int key = rows.field(QStringLiteral("PRKEY")).value().toInt();
    const QByteArray rowSql =
        "SELECT O.*,P.LNAM FROM OPER O, PARTS P\nWHERE O.PRKEY=" + QByteArray::number(key) +
        " and P.PRKEY=O.LPART";
    BareConnection bare(book);
    QList<double> ours, bareTimes;
    for (int run = 0; run <= runs; ++run) {
        DocumentWindow* window = nullptr;
        const double opened = timed([&] {
            window = DocumentWindow::openExisting(DocumentKind::IncomingPayment, key);
            QCoreApplication::processEvents();
        });
        window->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const double read = timed([&] { bare.fetch(rowSql); });
        if (run == 0)
            continue;
        ours << opened;
        bareTimes << read;
    }
    report("open_document_window", ours, bareTimes);
}

// The INI of the benchmark's own: the one book, no backups, no first-start pane.
void writeIni(const QString& ini, const QString& book) {
    QFile::remove(ini);
    IniFile settings(ini);
    settings.writeString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                         QString::fromLatin1(kProgramVersion));
    settings.writeInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"), 1);
    settings.writeInteger(QStringLiteral("DB"), QStringLiteral("Backup"), 0);
    BookList(settings).append(book, kCaption);
}

QString makeBook(const QString& cache, const BookParameters& parameters) {
    const QString ini = QDir(cache).filePath(QStringLiteral("making.ini"));
    DataStore store(ini);
    QElapsedTimer clock;
    clock.start();
    const QString book = cachedBook(cache, QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR), parameters);
    std::fprintf(stderr, "book %s ready in %.1f s\n", qPrintable(parametersName(parameters)),
                 clock.nsecsElapsed() / 1e9);
    return book;
}

} // namespace

int main(int argc, char** argv) {
    // As the program does.
    keepFreedHeap();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("runs per job"),
                                        QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption documentsOption(QStringLiteral("documents"),
                                             QStringLiteral("documents of the book"),
                                             QStringLiteral("N"), QStringLiteral("100000"));
    const QCommandLineOption cacheOption(
        QStringLiteral("cache"), QStringLiteral("folder of the generated books"),
        QStringLiteral("FOLDER"), QCoreApplication::applicationDirPath() + "/books");
    parser.addOptions({runsOption, documentsOption, cacheOption});
    parser.addHelpOption();
    parser.process(app);

    // Nobody answers here: a message ends the benchmark.
    dialogs::setAnswerer([](const DialogRequest& request) -> DialogAnswer {
        qFatal("unexpected message: %s", qPrintable(request.text));
    });
    runSheetJobs(parser.value(runsOption).toInt());
    runExportJob(parser.value(runsOption).toInt());

    fb::prepareEmbeddedEngine();
    BookParameters parameters;
    parameters.documents = parser.value(documentsOption).toInt();
    const QString cache = parser.value(cacheOption);
    QDir().mkpath(cache);
    const QString book = makeBook(cache, parameters);

    const QString ini = QDir(cache).filePath(QStringLiteral("bench.ini"));
    writeIni(ini, book);
    MainWindow main(ini);
    if (main.runStartup() != StartupEnd::GoOn)
        qFatal("the program did not start on the book");
    main.resize(1280, 900);
    main.show();
    const QDate first(parameters.year, 1, 1);
    main.setBrowsePeriod({datetime::encode(first),
                          datetime::endOfDay(datetime::encode(first.addYears(1).addDays(-1)))});
    runBrowserJobs(main, book, parser.value(runsOption).toInt());
    runDocumentJob(main, book, parser.value(runsOption).toInt());
    runReportJobs(DataStore::instance(), book, parameters.year, parser.value(runsOption).toInt());
    main.close();
    return 0;
}
