// A sample report sheet to look at: a title running over empty cells, a framed header with
// wrapped captions, amounts, hot cells, a total and a wrapped note too long for its low row. On the
// screen; printed to a PDF file in Times New Roman 10 or the font given; or its print dialog with
// the default settings.
//
//   sample_sheet
//   sample_sheet --pdf FILE [--landscape] [--font FAMILY SIZE]
//   sample_sheet --print-dialog

#include "printing/report_output.h"
#include "reports/report_sheet.h"
#include "reports/sheet_print.h"

#include <QApplication>
#include <QLocale>

namespace {

constexpr SheetColor kLightYellow = 0x00C0FFFF;

void fillSample(ReportSheet& sheet) {
    sheet.beginUpdate();
    sheet.setGridSize(0, 0, 5, 12);
    sheet.setDefaultColWidth(110);
    sheet.setColWidth(0, 80);
    sheet.setCellString(0, 0, QStringLiteral("Движение денежных средств по кассе за март 2024 г."));
    const QStringList captions{QStringLiteral("Дата"), QStringLiteral("Остаток на начало дня"),
                               QStringLiteral("Приход от покупателей"),
                               QStringLiteral("Расход на хозяйственные нужды"),
                               QStringLiteral("Остаток на конец дня")};
    for (int x = 0; x < captions.size(); ++x) {
        sheet.setCellString(x, 2, captions[x]);
        sheet.setCellWordWrap(x, 2, true);
        sheet.setCellAlignment(x, 2, CellAlignment::Center);
        sheet.setCellBorders(x, 2, 2, 2, 2, 2);
    }
    sheet.setRowHeight(2, 3 * sheet.defaultRowHeight());
    qint64 rest = 1520000000;
    const qint64 income[] = {125000000, 0, 98050000, 310000000, 4500000, 0};
    const qint64 issue[] = {30000000, 12575000, 0, 180000000, 0, 77780000};
    for (int i = 0; i < 6; ++i) {
        const int y = 3 + i;
        sheet.setCellString(0, y, QStringLiteral("%1.03.2024").arg(i + 1, 2, 10, QLatin1Char('0')));
        sheet.setCellAmount(1, y, Currency{rest}, QStringLiteral("#,##0.00"), CellAlignment::Right);
        if (income[i] != 0) {
            sheet.setCellAmount(2, y, Currency{income[i]}, QStringLiteral("#,##0.00"),
                                CellAlignment::Right);
            sheet.setCellParam(2, y, QStringLiteral("H"), QStringLiteral("1"));
        }
        if (issue[i] != 0) {
            sheet.setCellAmount(3, y, Currency{issue[i]}, QStringLiteral("#,##0.00"),
                                CellAlignment::Right);
            sheet.setCellParam(3, y, QStringLiteral("H"), QStringLiteral("1"));
        }
        rest += income[i] - issue[i];
        sheet.setCellAmount(4, y, Currency{rest}, QStringLiteral("#,##0.00"), CellAlignment::Right);
        for (int x = 0; x < 5; ++x)
            sheet.setCellBorders(x, y, 1, 1, 1, 1);
    }
    sheet.setCellString(0, 9, QStringLiteral("Итого"));
    sheet.setCellAmount(2, 9, Currency{537550000}, QStringLiteral("#,##0.00"),
                        CellAlignment::Right);
    sheet.setCellAmount(3, 9, Currency{-300355000}, QStringLiteral("#,##0.00;(#,##0.00)"),
                        CellAlignment::Right);
    sheet.setCellTextColor(3, 9, kRedColor);
    sheet.setCellAmount(4, 9, Currency{rest}, QStringLiteral("#,##0.00"), CellAlignment::Right);
    for (int x = 0; x < 5; ++x) {
        sheet.setCellBorders(x, 9, 1, 1, 2, 2);
        sheet.setCellColor(x, 9, kLightYellow);
    }
    sheet.setCellString(4, 10, QStringLiteral("Сверено с кассовой книгой и актом ревизии"));
    sheet.setCellWordWrap(4, 10, true);
    sheet.setCellAlignment(4, 10, CellAlignment::Right);
    sheet.setRowHeight(10, 30);
    sheet.setCellString(0, 11, QStringLiteral("Синие суммы открывают документы двойным щелчком."));
    sheet.resetCounters();
    sheet.endUpdate();
}

int printToPdf(const ReportSheet& sheet, const QStringList& args) {
    printing::FontSpec font;
    const qsizetype fontAt = args.indexOf(QStringLiteral("--font"));
    if (fontAt > 0 && fontAt + 2 < args.size()) {
        font.family = args[fontAt + 1];
        font.pointSize = args[fontAt + 2].toDouble();
    }
    const auto orientation = args.contains(QStringLiteral("--landscape"))
                                 ? printing::Orientation::Landscape
                                 : printing::Orientation::Portrait;
    const SheetReport printed = sheetPrintReport(sheet, wholeSheet(sheet), font, orientation);
    printing::printToPdf(printed.report, printed.data, args[args.indexOf("--pdf") + 1]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ReportSheet sheet;
    sheet.setWindowTitle(QStringLiteral("Образец листа"));
    fillSample(sheet);
    const QStringList args = app.arguments();
    const qsizetype pdfAt = args.indexOf(QStringLiteral("--pdf"));
    if (pdfAt > 0 && pdfAt + 1 < args.size())
        return printToPdf(sheet, args);
    if (args.contains(QStringLiteral("--print-dialog"))) {
        SheetPrintDialog dialog(nullptr, SheetPrintSettings{});
        dialog.execute({});
        return 0;
    }
    sheet.resize(600, 330);
    sheet.move(40, 40);
    sheet.show();
    sheet.setCurrentCell(2, 5);
    return app.exec();
}
