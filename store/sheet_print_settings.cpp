#include "store/sheet_print_settings.h"

#include "store/book_options.h"

namespace {

QString nameKey(const QString& windowKey) {
    return windowKey + QStringLiteral(".DingerFontName");
}

QString sizeKey(const QString& windowKey) {
    return windowKey + QStringLiteral(".DingerFontSize");
}

QString orientationKey(const QString& windowKey) {
    return windowKey + QStringLiteral(".DingerFontPageOrientation");
}

} // namespace

SheetPrintSettings SheetPrintSettings::read(const BookOptions& options, const QString& windowKey) {
    SheetPrintSettings settings;
    const QString name = options.option(nameKey(windowKey)).trimmed();
    if (!name.isEmpty())
        settings.fontName = name;
    bool isNumber = false;
    const int size = options.option(sizeKey(windowKey)).trimmed().toInt(&isNumber);
    if (isNumber && size > 0)
        settings.fontSize = size;
    settings.landscape = options.option(orientationKey(windowKey)).trimmed() == QLatin1String("1");
    return settings;
}

void SheetPrintSettings::write(BookOptions& options, const QString& windowKey) const {
    options.setOption(nameKey(windowKey), fontName);
    options.setOption(sizeKey(windowKey), QString::number(fontSize));
    options.setOption(orientationKey(windowKey),
                      landscape ? QStringLiteral("1") : QStringLiteral("0"));
}
