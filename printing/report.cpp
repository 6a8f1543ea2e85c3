#include "printing/report.h"

namespace printing {

namespace {

constexpr double kA4Width = 210;
constexpr double kA4Height = 297;

Element textElement(ElementKind kind, const QRectF& rect, const FontSpec& font,
                    HorizontalAlign align) {
    Element element;
    element.kind = kind;
    element.rect = rect;
    element.font = font;
    element.align = align;
    return element;
}

} // namespace

QSizeF PageSetup::paperSize() const {
    if (orientation == Orientation::Landscape)
        return {kA4Height, kA4Width};
    return {kA4Width, kA4Height};
}

QRectF PageSetup::contentRect() const {
    return QRectF(QPointF(0, 0), paperSize()).marginsRemoved(margins);
}

Element label(const QRectF& rect, const QString& text, const FontSpec& font,
              HorizontalAlign align) {
    Element element = textElement(ElementKind::Label, rect, font, align);
    element.text = text;
    return element;
}

Element dataText(const QRectF& rect, const QString& field, const FontSpec& font,
                 HorizontalAlign align) {
    Element element = textElement(ElementKind::DataText, rect, font, align);
    element.field = field;
    return element;
}

Element memo(const QRectF& rect, const QString& text, const FontSpec& font, HorizontalAlign align) {
    Element element = textElement(ElementKind::Memo, rect, font, align);
    element.text = text;
    return element;
}

Element line(const QPointF& from, const QPointF& to, double width) {
    Element element;
    element.kind = ElementKind::Line;
    element.rect = QRectF(from, to);
    element.lineWidth = width;
    return element;
}

Element frame(const QRectF& rect, Sides sides, double width) {
    Element element;
    element.kind = ElementKind::Frame;
    element.rect = rect;
    element.sides = sides;
    element.lineWidth = width;
    return element;
}

Element* Band::find(const QString& name) {
    for (Element& element : elements) {
        if (element.name == name)
            return &element;
    }
    return nullptr;
}

} // namespace printing
