#pragma once

#include "platform/zip_archive.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>

namespace testsupport {

// A cell of an .xlsx workbook as a spreadsheet program shows it: its value ("n:" and the number,
// "s:" and the text, "" for a blank), its number format, its alignment, whether it wraps, and
// its borders left, right, top, bottom.
struct XlsxCellLook {
    QString value;
    QString numberFormat; // "General" when none is set
    QString align;        // "" for the general alignment
    bool wrap = false;
    QStringList borders{"", "", "", ""}; // "" none, "thin", "thick", ...

    QString describe() const {
        return QStringLiteral("%1|%2|%3|%4|%5")
            .arg(value, numberFormat, align, wrap ? QStringLiteral("wrap") : QString(),
                 borders.join(QLatin1Char(',')));
    }
};

// What a test reads back of an .xlsx file written by the program: the first sheet's name, its
// cells by reference ("B3") and its column widths in characters by column from 0.
struct XlsxBook {
    QString sheetName;
    QMap<QString, XlsxCellLook> cells;
    QMap<int, double> columnWidths;
    int cellFormats = 0; // the cell formats the workbook holds, its default one included
};

namespace xlsxdetail {

struct CellFormat {
    int numberFormat = 0;
    int border = 0;
    QString align;
    bool wrap = false;
};

inline QString builtInFormat(int id) {
    static const QHash<int, QString> formats{{0, "General"}, {1, "0"},        {2, "0.00"},
                                             {3, "#,##0"},   {4, "#,##0.00"}, {9, "0%"},
                                             {10, "0.00%"},  {49, "@"}};
    return formats.value(id, QStringLiteral("<built-in %1>").arg(id));
}

inline QByteArray entry(const QList<zip::Entry>& entries, const QString& name) {
    for (const zip::Entry& e : entries)
        if (e.name == name)
            return e.data;
    return {};
}

// The width a spreadsheet shows for a stored column width: whole pixels of a 7-pixel digit
// with 5 pixels of padding, counted back into digits.
inline double shownWidth(double stored) {
    if (stored <= 0)
        return 0;
    const double pixels = std::trunc((256 * stored + std::trunc(128.0 / 7)) / 256 * 7);
    return std::trunc((pixels - 5) / 7 * 100 + 0.5) / 100;
}

} // namespace xlsxdetail

// The workbook at path; Exception when it is no zip archive.
inline XlsxBook readXlsx(const QString& path) {
    using namespace xlsxdetail;
    XlsxBook book;
    const QList<zip::Entry> entries = zip::read(path);

    QXmlStreamReader workbook(entry(entries, "xl/workbook.xml"));
    while (!workbook.atEnd()) {
        if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == u"sheet") {
            book.sheetName = workbook.attributes().value("name").toString();
            break;
        }
    }

    QStringList strings;
    QXmlStreamReader shared(entry(entries, "xl/sharedStrings.xml"));
    while (!shared.atEnd()) {
        if (shared.readNext() == QXmlStreamReader::StartElement && shared.name() == u"t")
            strings << shared.readElementText();
    }

    QHash<int, QString> formatCodes;
    QList<QStringList> borders;
    QList<CellFormat> formats;
    QXmlStreamReader styles(entry(entries, "xl/styles.xml"));
    QString section;
    while (!styles.atEnd()) {
        if (styles.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = styles.name();
        const QXmlStreamAttributes a = styles.attributes();
        if (name == u"numFmts" || name == u"borders" || name == u"cellXfs" ||
            name == u"cellStyleXfs" || name == u"cellStyles")
            section = name.toString();
        if (name == u"numFmt")
            formatCodes[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
        else if (name == u"border")
            borders << QStringList{"", "", "", ""};
        else if (section == u"borders" &&
                 (name == u"left" || name == u"right" || name == u"top" || name == u"bottom"))
            borders.last()[name == u"left"    ? 0
                           : name == u"right" ? 1
                           : name == u"top"   ? 2
                                              : 3] = a.value("style").toString();
        else if (section == u"cellXfs" && name == u"xf") {
            CellFormat format;
            format.numberFormat = a.value("numFmtId").toInt();
            format.border = a.value("borderId").toInt();
            formats << format;
        } else if (section == u"cellXfs" && name == u"alignment") {
            formats.last().align = a.value("horizontal").toString();
            formats.last().wrap = a.value("wrapText") == u"1";
        }
    }
    book.cellFormats = int(formats.size());

    QXmlStreamReader sheet(entry(entries, "xl/worksheets/sheet1.xml"));
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = sheet.attributes();
        if (sheet.name() == u"col") {
            for (int c = a.value("min").toInt(); c <= a.value("max").toInt(); ++c)
                book.columnWidths[c - 1] = shownWidth(a.value("width").toDouble());
        } else if (sheet.name() == u"c") {
            XlsxCellLook look;
            const CellFormat format = formats.value(a.value("s").toInt());
            look.numberFormat =
                formatCodes.value(format.numberFormat, builtInFormat(format.numberFormat));
            look.align = format.align;
            look.wrap = format.wrap;
            look.borders = borders.value(format.border, QStringList{"", "", "", ""});
            const QString type = a.value("t").toString();
            const QString reference = a.value("r").toString();
            QString value;
            while (sheet.readNextStartElement()) {
                if (sheet.name() == u"v")
                    value = sheet.readElementText();
                else
                    sheet.skipCurrentElement();
            }
            if (type == u"s")
                look.value = "s:" + strings.value(value.toInt());
            else if (!value.isEmpty())
                look.value = "n:" + value;
            book.cells[reference] = look;
        }
    }
    return book;
}

} // namespace testsupport
