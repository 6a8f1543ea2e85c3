#include "bench/sheet_jobs.h"

#include "bench/bench_timing.h"
#include "core/numbers.h"
#include "platform/office.h"
#include "platform/work_folder.h"
#include "reports/report_sheet.h"
#include "reports/sheet_export.h"
#include "reports/sheet_text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <xlsxwriter.h>

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

} // namespace

int bareSheetCells(const QString& text) {
    return int(readBare(text).cells.size());
}

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
    reportJob("sheet_load", median(oursSingle), median(bareSingle));
    reportJob("sheet_load_double", median(oursTwice), 2 * median(oursSingle));
}

namespace {

// A cell as the bare loop writes it: prepared before the clock starts.
struct BareXlsxCell {
    int row = 0;
    int column = 0;
    bool isNumber = false;
    double number = 0;
    std::string text;
    int style = 0; // into the distinct styles
};

// A style as the bare loop sets it up: the four borders (libxlsxwriter's line styles), the
// alignment, the number format and wrap.
struct BareXlsxStyle {
    uint8_t borders[4] = {LXW_BORDER_NONE, LXW_BORDER_NONE, LXW_BORDER_NONE, LXW_BORDER_NONE};
    uint8_t align = LXW_ALIGN_NONE;
    std::string mask;
    bool wrap = false;
};

struct BareWorkbook {
    std::vector<double> widths;
    std::vector<BareXlsxStyle> styles;
    std::vector<BareXlsxCell> cells;
};

uint8_t bareLine(int width) {
    return width == 1                 ? LXW_BORDER_THIN
           : width >= 2 && width <= 4 ? LXW_BORDER_THICK
                                      : LXW_BORDER_NONE;
}

// The sheet's cells, column by column, with their distinct styles.
BareWorkbook bareWorkbookOf(const SheetGrid& sheet) {
    BareWorkbook book;
    QHash<QString, int> styleIndex;
    for (int x = 0; x < sheet.xCount(); ++x) {
        book.widths.push_back(sheet.colWidth(x) * 0.15);
        for (int y = 0; y < sheet.yCount(); ++y) {
            const SheetCell* cell = sheet.cells().cell(x, y);
            if (!cell)
                continue;
            BareXlsxStyle style;
            style.borders[0] = bareLine(cell->borderLeft);
            style.borders[1] = bareLine(cell->borderRight);
            style.borders[2] = bareLine(cell->borderTop);
            style.borders[3] = bareLine(cell->borderBottom);
            style.align = cell->alignment == CellAlignment::Right    ? LXW_ALIGN_RIGHT
                          : cell->alignment == CellAlignment::Center ? LXW_ALIGN_CENTER
                                                                     : LXW_ALIGN_NONE;
            BareXlsxCell bare;
            bare.row = y;
            bare.column = x;
            if (const Currency* amount = std::get_if<Currency>(&cell->value)) {
                bare.isNumber = true;
                bare.number = amount->toDouble();
                style.mask = cell->numberFormat.trimmed().toStdString();
            } else if (const QString* text = std::get_if<QString>(&cell->value)) {
                bare.text = text->toStdString();
            }
            style.wrap = cell->wordWrap;
            const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                                    .arg(style.borders[0])
                                    .arg(style.borders[1])
                                    .arg(style.borders[2])
                                    .arg(style.borders[3])
                                    .arg(style.align)
                                    .arg(QString::fromStdString(style.mask))
                                    .arg(style.wrap);
            auto known = styleIndex.constFind(key);
            if (known == styleIndex.cend()) {
                known = styleIndex.insert(key, int(book.styles.size()));
                book.styles.push_back(style);
            }
            bare.style = *known;
            book.cells.push_back(std::move(bare));
        }
    }
    return book;
}

void bareWrite(const BareWorkbook& book, const char* path) {
    lxw_workbook* workbook = workbook_new(path);
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, "sheet_load");
    std::vector<lxw_format*> formats;
    for (const BareXlsxStyle& style : book.styles) {
        lxw_format* format = workbook_add_format(workbook);
        format_set_left(format, style.borders[0]);
        format_set_right(format, style.borders[1]);
        format_set_top(format, style.borders[2]);
        format_set_bottom(format, style.borders[3]);
        if (style.align != LXW_ALIGN_NONE)
            format_set_align(format, style.align);
        if (!style.mask.empty())
            format_set_num_format(format, style.mask.c_str());
        if (style.wrap)
            format_set_text_wrap(format);
        formats.push_back(format);
    }
    for (size_t x = 0; x < book.widths.size(); ++x)
        worksheet_set_column(worksheet, lxw_col_t(x), lxw_col_t(x), book.widths[x], nullptr);
    for (const BareXlsxCell& cell : book.cells) {
        lxw_format* format = formats[size_t(cell.style)];
        if (cell.isNumber)
            worksheet_write_number(worksheet, lxw_row_t(cell.row), lxw_col_t(cell.column),
                                   cell.number, format);
        else
            worksheet_write_string(worksheet, lxw_row_t(cell.row), lxw_col_t(cell.column),
                                   cell.text.c_str(), format);
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        qFatal("the bare workbook was not written");
}

} // namespace

void runExportJob(int runs) {
    ReportSheet sheet;
    loadSheetText(sheet, 0, 0, storedSheet(20000));
    const BareWorkbook bare = bareWorkbookOf(sheet);
    // The export asks for a LibreOffice that shows windows; this one is never started.
    QTemporaryDir office;
    QFile program(QDir(office.path()).filePath(QStringLiteral("soffice")));
    if (!program.open(QIODevice::WriteOnly) || program.write("#!/bin/sh\n") < 0)
        qFatal("the stand-in office program was not written");
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner);
    setOfficeSearchPath(office.path());
    QTemporaryDir output;
    const QByteArray barePath = QFile::encodeName(QDir(output.path()).filePath("bare.xlsx"));

    QList<double> ours, bareTimes;
    for (int run = 0; run <= runs; ++run) {
        std::unique_ptr<WorkFolder> written;
        qint64 size = 0;
        QElapsedTimer clock;
        clock.start();
        exportSheet(nullptr, sheet, wholeSheet(sheet), QStringLiteral("sheet_load"),
                    [&](std::unique_ptr<WorkFolder> folder, const QString& path) {
                        size = QFileInfo(path).size();
                        written = std::move(folder);
                    });
        const double exported = seconds(clock);
        written.reset();
        clock.restart();
        bareWrite(bare, barePath.constData());
        const double bareWritten = seconds(clock);
        if (size == 0)
            qFatal("the export wrote no workbook");
        if (run == 0) { // the warm-up
            std::fprintf(stderr, "export: %zu cells, %lld and %lld bytes\n", bare.cells.size(),
                         qlonglong(size), qlonglong(QFileInfo(QFile::decodeName(barePath)).size()));
            continue;
        }
        ours << exported;
        bareTimes << bareWritten;
    }
    setOfficeSearchPath(QString());
    reportJob("export_sheet", median(ours), median(bareTimes));
}
