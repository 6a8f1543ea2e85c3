#include "bench/sheet_jobs.h"

#include "core/numbers.h"
#include "reports/report_sheet.h"
#include "reports/sheet_text.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kColumns = 8;

// The stored text of a sheet of rows rows: a date and a partner's name, six amounts through
// "#0.00", thin borders everywhere, hot amounts in the third column.
QString storedSheet(int rows) {
    ReportSheet sheet;
    sheet.beginUpdate();
    sheet.setGridSize(0, 0, kColumns, rows);
    for (int y = 0; y < rows; ++y) {
        sheet.setCellString(0, y, QStringLiteral("%1.03.2024").arg(y % 28 + 1, 2, 10, QChar(u'0')));
        sheet.setCellString(1, y, QStringLiteral("Иванов, И. И. (касса №%1)").arg(y % 97));
        for (int x = 2; x < kColumns; ++x)
            sheet.setCellAmount(x, y, Currency{qint64(y) * 1234567 % 100000000 + x * 500},
                                QStringLiteral("#0.00"), CellAlignment::Right);
        sheet.setCellParam(2, y, QStringLiteral("H"), QStringLiteral("1"));
        for (int x = 0; x < kColumns; ++x)
            sheet.setCellBorders(x, y, 1, 1, 1, 1);
    }
    sheet.resetCounters();
    sheet.endUpdate();
    return saveSheetText(sheet, 0, 0, kColumns - 1, rows - 1);
}

// What the bare reading keeps of a cell.
struct BareCell {
    int x = 0;
    int y = 0;
    qint64 amount = 0;
    QString text;
    int borders[4] = {0, 0, 0, 0};
    int alignment = 0;
    QString mask;
    QString tags;
};

QString decoded(QStringView argument) {
    QString result;
    result.reserve(argument.size());
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] != u'\\') {
            result += argument[i];
            continue;
        }
        const qsizetype end = argument.indexOf(u'\\', i + 1);
        result += QChar(argument.mid(i + 1, end - i - 1).toInt());
        i = end;
    }
    return result;
}

qint64 amountOf(QStringView text) {
    return qint64(std::llround(text.toDouble() * 10000));
}

// The text cut into commands and their arguments, escapes and numbers decoded, each cell
// appended to a vector.
struct BareSheet {
    std::vector<BareCell> cells;
    std::vector<int> widths;
    std::vector<int> heights;
};

BareSheet readBare(const QString& text) {
    BareSheet sheet;
    QStringView line(text);
    int x = 0;
    qsizetype p = 0;
    QList<QStringView> arguments;
    while (p < line.size()) {
        while (p < line.size() && line[p] == u' ')
            ++p;
        if (p >= line.size())
            break;
        const qsizetype open = line.indexOf(u'(', p);
        const qsizetype close = line.indexOf(u')', open);
        const QStringView name = line.mid(p, open - p);
        const QStringView inside = line.mid(open + 1, close - open - 1);
        arguments = inside.split(u',');
        p = close + 1;
        if (name == u"X") {
            x = arguments[0].toInt();
        } else if (name == u"Y") {
            sheet.cells.push_back(BareCell{x, arguments[0].toInt()});
        } else if (name == u"Vn") {
            sheet.cells.back().amount = amountOf(arguments[0]);
        } else if (name == u"Vs") {
            sheet.cells.back().text = decoded(arguments[0]);
        } else if (name == u"B") {
            for (int i = 0; i < 4; ++i)
                sheet.cells.back().borders[i] = arguments[i].toInt();
        } else if (name == u"A") {
            sheet.cells.back().alignment = arguments[0].toInt() - 1;
        } else if (name == u"Nf") {
            sheet.cells.back().mask = decoded(arguments[0]);
        } else if (name == u"Sd") {
            sheet.cells.back().tags = decoded(arguments[0]);
        } else if (name == u"CW") {
            sheet.widths.push_back(arguments[1].toInt());
        } else if (name == u"RH") {
            sheet.heights.push_back(arguments[1].toInt());
        }
    }
    return sheet;
}

double seconds(const QElapsedTimer& clock) {
    return clock.nsecsElapsed() / 1e9;
}

// A report sheet of 800 x 600 loads the text and paints what it shows.
double loadAndPaint(const QString& text, int& cells) {
    ReportSheet sheet;
    sheet.resize(800, 600);
    sheet.show();
    QImage screen(sheet.viewport()->size(), QImage::Format_RGB32);
    QElapsedTimer clock;
    clock.start();
    loadSheetText(sheet, 0, 0, text);
    sheet.viewport()->render(&screen);
    const double elapsed = seconds(clock);
    cells = sheet.xCount() * sheet.yCount();
    return elapsed;
}

double bareRead(const QString& text, int& cells) {
    QElapsedTimer clock;
    clock.start();
    const BareSheet sheet = readBare(text);
    const double elapsed = seconds(clock);
    cells = int(sheet.cells.size());
    return elapsed;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void report(const char* job, double ours, double bare) {
    std::printf("%s ours_s=%.4f bare_s=%.4f ratio=%.2f\n", job, ours, bare, ours / bare);
    std::fflush(stdout);
}

} // namespace

void runSheetJobs(int runs) {
    const QString single = storedSheet(20000);
    const QString twice = storedSheet(40000);
    QList<double> oursSingle, bareSingle, oursTwice;
    for (int run = 0; run <= runs; ++run) {
        int oursCells = 0;
        int bareCells = 0;
        const double ours = loadAndPaint(single, oursCells);
        const double bare = bareRead(single, bareCells);
        const double oursDouble = loadAndPaint(twice, oursCells);
        if (oursCells != 40000 * kColumns || bareCells != 20000 * kColumns)
            qFatal("the sheets were not read whole: %d and %d cells", oursCells, bareCells);
        if (run == 0) { // the warm-up
            std::fprintf(stderr, "sheet: %lld and %lld characters of stored text\n",
                         qlonglong(single.size()), qlonglong(twice.size()));
            continue;
        }
        oursSingle << ours;
        bareSingle << bare;
        oursTwice << oursDouble;
    }
    report("sheet_load", median(oursSingle), median(bareSingle));
    report("sheet_load_double", median(oursTwice), 2 * median(oursSingle));
}
