#pragma once

#include <QString>

class BookOptions;

// The class names of the windows that print sheets, as the keys of their print settings begin;
// stored data, never renamed.
inline constexpr char kMovementReportWindow[] = "TfrmMovementReport";
inline constexpr char kPayersReportWindow[] = "TfrmPayersReport";
inline constexpr char kAcceptorsReportWindow[] = "TfrmAcceptorsReport";
inline constexpr char kDocumentRegisterWindow[] = "TfrmReestrDocsReport";
inline constexpr char kExpenseAnalysisWindow[] = "TfrmAnIssueReport";

// The font and page orientation that a window last printed its sheet with, kept in the book's
// options under the window's key followed by ".DingerFontName", ".DingerFontSize" and
// ".DingerFontPageOrientation".
struct SheetPrintSettings {
    static constexpr char kDefaultFontName[] = "Times New Roman";
    static constexpr int kDefaultFontSize = 10;

    QString fontName = QString::fromLatin1(kDefaultFontName);
    int fontSize = kDefaultFontSize; // points
    bool landscape = false;

    // A blank name reads as Times New Roman, a size that is no positive whole number as 10, an
    // orientation other than "1" as portrait.
    static SheetPrintSettings read(const BookOptions& options, const QString& windowKey);
    // The name, the size, and "1" for landscape or "0" for portrait.
    void write(BookOptions& options, const QString& windowKey) const;

    bool operator==(const SheetPrintSettings&) const = default;
};
