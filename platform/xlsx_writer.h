#pragma once

#include "core/exceptions.h"

#include <QHash>
#include <QString>

struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

// The workbook file or its parts could not be made (a folder that cannot be written, no room
// for the temporary files).
class XlsxCreateError : public Exception {
public:
    using Exception::Exception;
};

// The look of a spreadsheet cell.
struct XlsxStyle {
    enum class Line { None, Thin, Thick };
    enum class Align { General, Left, Center, Right };

    Line left = Line::None;
    Line right = Line::None;
    Line top = Line::None;
    Line bottom = Line::None;
    Align align = Align::General;
    QString numberFormat; // as the workbook stores it ("#,##0.00"); empty: the general format
    bool wrap = false;

    bool operator==(const XlsxStyle&) const = default;
};

size_t qHash(const XlsxStyle& style, size_t seed = 0);

// A workbook of one named sheet written to an .xlsx file: column widths and number, text and
// blank cells, each with its style (one cell format per distinct style). Rows and columns count
// from 0. The file is written by close(), under another name until it is whole; a writer
// destroyed without it writes nothing. Every failure raises Exception, XlsxCreateError where the
// file or its temporary parts cannot be created: one sentence that names the workbook's file and
// says why in the user's words ("Не удалось записать книгу «…»: …."); the library's own text
// goes to standard error.
class XlsxWriter {
public:
    XlsxWriter(const QString& path, const QString& sheetName);
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // The width in characters of the default font.
    void setColumnWidth(int column, double width);
    void writeNumber(int row, int column, double value, const XlsxStyle& style);
    void writeString(int row, int column, const QString& text, const XlsxStyle& style);
    void writeBlank(int row, int column, const XlsxStyle& style);

    // Writes the file whole.
    void close();

private:
    lxw_format* format(const XlsxStyle& style);
    // Raises the failure of a library call's result (an lxw_error) unless it is success.
    void check(int error) const;
    // Raises the failure of a cell outside the sheet.
    void checkCell(int row, int column) const;

    QString m_path;
    QString m_partPath;
    QString m_sheetName;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    QHash<XlsxStyle, lxw_format*> m_formats;
};
