#include "printing/report_fonts.h"

namespace printing {

QString printedFamily(const QString& family) {
    if (family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return family;
}

QFont toQFont(const FontSpec& spec) {
    QFont font(printedFamily(spec.family));
    font.setPointSizeF(spec.pointSize);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    return font;
}

} // namespace printing
