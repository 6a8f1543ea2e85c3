#include "printing/form_layout.h"

#include "core/amount_in_words.h"
#include "core/month_names.h"
#include "core/numbers.h"

namespace printing {

namespace {

const FontSpec kCaptionFont{QStringLiteral("Times New Roman"), 8};
const FontSpec kValueFont{QStringLiteral("Times New Roman"), 10};
const FontSpec kHeadingFont{QStringLiteral("Arial"), 11, true};

QString longDate(DateTime date, const QString& month) {
    const QDate day = datetime::decodeDate(date);
    return QStringLiteral("%1 %2 %3").arg(day.day()).arg(month).arg(day.year());
}

} // namespace

void FormLayout::caption(const QRectF& rect, const QString& text, HorizontalAlign align) {
    m_band.elements << label(rect, text, kCaptionFont, align);
}

void FormLayout::captionLines(const QRectF& rect, const QString& text) {
    m_band.elements << memo(rect, text, kCaptionFont, HorizontalAlign::Center);
}

void FormLayout::value(const QRectF& rect, const QString& text, bool boxed, HorizontalAlign align) {
    if (boxed)
        box(rect);
    Element element = label(rect.adjusted(1, 0, -1, 0), text, kValueFont, align);
    element.verticalAlign = VerticalAlign::Center;
    m_band.elements << element;
}

void FormLayout::heading(const QRectF& rect, const QString& text, HorizontalAlign align) {
    m_band.elements << label(rect, text, kHeadingFont, align);
}

void FormLayout::lines(const QRectF& rect, const QString& text) {
    m_band.elements << memo(rect, text, kValueFont);
}

void FormLayout::rule(double x, double y, double width, const QString& name) {
    Element element = line({x, y}, {x + width, y});
    element.name = name;
    m_band.elements << element;
}

void FormLayout::verticalRule(double x, double y, double height) {
    m_band.elements << line({x, y}, {x, y + height});
}

void FormLayout::box(const QRectF& rect) {
    m_band.elements << frame(rect);
}

QString shortDate(DateTime date) {
    return dateFieldText(date);
}

QString ukrainianLongDate(DateTime date) {
    return longDate(date, monthNameGenUA(date));
}

QString russianLongDate(DateTime date) {
    return longDate(date, monthNameGenRU(date));
}

QString orderDate(DateTime date, bool ukrainian) {
    return ukrainian ? ukrainianLongDate(date) + QStringLiteral(" р.") : shortDate(date);
}

QString bankText(const PartyCard& party, const QString& cityMark) {
    return party.bank + QStringLiteral("  ") + cityMark + party.bankCity;
}

QString amountWords(const PrintedDocument& document, bool ukrainian) {
    const double amount = document.amount.value_or(Currency{}).toDouble();
    return ukrainian ? amountInWordsUkrainian(amount, document.currency)
                     : amountInWordsRussian(amount, document.currency);
}

} // namespace printing
