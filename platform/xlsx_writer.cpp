#include "platform/xlsx_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

QString errorText(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

void check(lxw_error error) {
    if (error == LXW_NO_ERROR)
        return;
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE)
        throw XlsxCreateError(errorText(error));
    throw Exception(errorText(error));
}

// The library takes its indexes in narrower types: one outside the sheet would wrap around.
void checkCell(int row, int column) {
    if (row < 0 || row >= LXW_ROW_MAX || column < 0 || column >= LXW_COL_MAX)
        throw Exception(errorText(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE));
}

uint8_t lineStyle(XlsxStyle::Line line) {
    switch (line) {
    case XlsxStyle::Line::Thin:
        return LXW_BORDER_THIN;
    case XlsxStyle::Line::Thick:
        return LXW_BORDER_THICK;
    case XlsxStyle::Line::None:
        break;
    }
    return LXW_BORDER_NONE;
}

uint8_t alignment(XlsxStyle::Align align) {
    switch (align) {
    case XlsxStyle::Align::Left:
        return LXW_ALIGN_LEFT;
    case XlsxStyle::Align::Center:
        return LXW_ALIGN_CENTER;
    case XlsxStyle::Align::Right:
        return LXW_ALIGN_RIGHT;
    case XlsxStyle::Align::General:
        break;
    }
    return LXW_ALIGN_NONE;
}

// The file the library writes first, beside the workbook's own: it takes the workbook's name only
// once it is whole.
QString partPath(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(getpid()));
}

} // namespace

size_t qHash(const XlsxStyle& style, size_t seed) {
    return qHashMulti(seed, int(style.left), int(style.right), int(style.top), int(style.bottom),
                      int(style.align), style.numberFormat, style.wrap);
}

XlsxWriter::XlsxWriter(const QString& path, const QString& sheetName)
    : m_path(path), m_partPath(partPath(path)) {
    m_workbook = workbook_new(QFile::encodeName(m_partPath).constData());
    if (!m_workbook)
        throw XlsxCreateError(errorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    try {
        const QByteArray name = sheetName.toUtf8();
        check(workbook_validate_sheet_name(m_workbook, name.constData()));
        m_sheet = workbook_add_worksheet(m_workbook, name.constData());
        if (!m_sheet)
            throw XlsxCreateError(errorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    } catch (...) {
        lxw_workbook_free(m_workbook);
        throw;
    }
}

XlsxWriter::~XlsxWriter() {
    if (m_workbook)
        lxw_workbook_free(m_workbook);
}

void XlsxWriter::setColumnWidth(int column, double width) {
    checkCell(0, column);
    check(worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr));
}

void XlsxWriter::writeNumber(int row, int column, double value, const XlsxStyle& style) {
    checkCell(row, column);
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value, format(style)));
}

void XlsxWriter::writeString(int row, int column, const QString& text, const XlsxStyle& style) {
    checkCell(row, column);
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column),
                                 text.toUtf8().constData(), format(style)));
}

void XlsxWriter::writeBlank(int row, int column, const XlsxStyle& style) {
    checkCell(row, column);
    check(worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(column), format(style)));
}

void XlsxWriter::close() {
    lxw_workbook* workbook = m_workbook;
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_formats.clear();
    if (!workbook)
        return;
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR)
        QFile::remove(m_partPath);
    check(error);
    if (std::rename(QFile::encodeName(m_partPath).constData(),
                    QFile::encodeName(m_path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(m_partPath);
        throw XlsxCreateError(reason);
    }
}

lxw_format* XlsxWriter::format(const XlsxStyle& style) {
    if (style == XlsxStyle())
        return nullptr;
    lxw_format*& known = m_formats[style];
    if (known)
        return known;
    known = workbook_add_format(m_workbook);
    if (!known)
        throw Exception(errorText(LXW_ERROR_MEMORY_MALLOC_FAILED));
    format_set_left(known, lineStyle(style.left));
    format_set_right(known, lineStyle(style.right));
    format_set_top(known, lineStyle(style.top));
    format_set_bottom(known, lineStyle(style.bottom));
    if (style.align != XlsxStyle::Align::General)
        format_set_align(known, alignment(style.align));
    if (!style.numberFormat.isEmpty())
        format_set_num_format(known, style.numberFormat.toUtf8().constData());
    if (style.wrap)
        format_set_text_wrap(known);
    return known;
}
