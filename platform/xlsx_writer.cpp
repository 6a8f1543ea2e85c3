#include "platform/xlsx_writer.h"

#include "core/file_operations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

// Why the library failed, in the user's words; sheetName is the name of the workbook's sheet.
QString reasonOf(lxw_error error, const QString& sheetName) {
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("недостаточно памяти");
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("не удается создать файл");
    case LXW_ERROR_CREATING_TMPFILE:
        return QStringLiteral("не удается создать временный файл");
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("не удается записать файл");
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
        return QStringLiteral("название листа «%1» длиннее 31 знака").arg(sheetName);
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
        return QStringLiteral("название листа «%1» содержит недопустимые знаки [ ] : * ? / \\")
            .arg(sheetName);
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
        return QStringLiteral("название листа «%1» начинается или кончается апострофом")
            .arg(sheetName);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("текст ячейки длиннее 32 767 знаков");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("лист больше, чем вмещает книга (не более 1 048 576 строк и "
                              "16 384 столбцов)");
    default:
        return QStringLiteral("внутренняя ошибка записи (код %1)").arg(int(error));
    }
}

// The sentence that tells why the workbook at path was not written.
QString failureText(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать книгу «%1»: %2.")
        .arg(QFileInfo(path).fileName(), reason);
}

// The failure of the workbook at path, told in one sentence; the library's own words go to
// standard error (the program's log).
[[noreturn]] void fail(lxw_error error, const QString& path, const QString& sheetName) {
    qWarning("libxlsxwriter, книга %s: %s", qUtf8Printable(path), lxw_strerror(error));
    const QString message = failureText(path, reasonOf(error, sheetName));
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE)
        throw XlsxCreateError(message);
    throw Exception(message);
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
    : m_path(path), m_partPath(partPath(path)), m_sheetName(sheetName) {
    m_workbook = workbook_new(QFile::encodeName(m_partPath).constData());
    if (!m_workbook)
        fail(LXW_ERROR_MEMORY_MALLOC_FAILED, path, sheetName);
    try {
        const QByteArray name = sheetName.toUtf8();
        check(workbook_validate_sheet_name(m_workbook, name.constData()));
        m_sheet = workbook_add_worksheet(m_workbook, name.constData());
        if (!m_sheet)
            fail(LXW_ERROR_MEMORY_MALLOC_FAILED, path, sheetName);
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

// The library takes its indexes in narrower types: one outside the sheet would wrap around.
void XlsxWriter::checkCell(int row, int column) const {
    if (row < 0 || row >= LXW_ROW_MAX || column < 0 || column >= LXW_COL_MAX)
        fail(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, m_path, m_sheetName);
}

void XlsxWriter::check(int error) const {
    if (error != LXW_NO_ERROR)
        fail(lxw_error(error), m_path, m_sheetName);
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
        const QString reason = fileErrorText(errno);
        QFile::remove(m_partPath);
        throw XlsxCreateError(failureText(m_path, reason));
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
        fail(LXW_ERROR_MEMORY_MALLOC_FAILED, m_path, m_sheetName);
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
