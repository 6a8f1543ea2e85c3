#pragma once

#include "core/date_time.h"
#include "core/numbers.h"
#include "printing/printed_document.h"
#include "printing/report.h"

#include <QString>

// What the simple print forms share: placing their texts, lines and frames on a band, and the
// texts they make of a document's values.
namespace printing {

// Places the elements of one band; every rectangle in millimetres from the band's corner.
class FormLayout {
public:
    explicit FormLayout(Band& band) : m_band(band) {}

    // A caption in the small plain font.
    void caption(const QRectF& rect, const QString& text,
                 HorizontalAlign align = HorizontalAlign::Left);
    // A caption wrapped at word breaks, centred.
    void captionLines(const QRectF& rect, const QString& text);
    // A value of the document, in the body font; framed when boxed.
    void value(const QRectF& rect, const QString& text, bool boxed = false,
               HorizontalAlign align = HorizontalAlign::Left);
    // A heading in bold sans.
    void heading(const QRectF& rect, const QString& text,
                 HorizontalAlign align = HorizontalAlign::Center);
    // Wrapped lines of the document.
    void lines(const QRectF& rect, const QString& text);
    // A horizontal line, for a signature or a cut, named so that a form may find it.
    void rule(double x, double y, double width, const QString& name = QString());
    // A vertical line: the cut between an order and its receipt.
    void verticalRule(double x, double y, double height);
    void box(const QRectF& rect);

private:
    Band& m_band;
};

// "dd.mm.yyyy".
QString shortDate(DateTime date);
// "5 травня 2010", the month in the Ukrainian genitive.
QString ukrainianLongDate(DateTime date);
// "5 мая 2010", the month in the Russian genitive.
QString russianLongDate(DateTime date);
// The date under an order's title: "5 травня 2010 р." in Ukrainian, "dd.mm.yyyy" in Russian.
QString orderDate(DateTime date, bool ukrainian);
// The bank's name, two blanks, the city mark ("м." or "г.") and the bank's city.
QString bankText(const PartyCard& party, const QString& cityMark);
// The document's amount in words, in Ukrainian or in Russian.
QString amountWords(const PrintedDocument& document, bool ukrainian);

} // namespace printing
