#include "platform/firebird/value_text.h"

#include "core/exceptions.h"

#include <QLocale>
#include <cmath>

namespace fb::text {

QString dateTimeText(DateTime value) {
    const QDateTime moment = datetime::decode(value);
    if (moment.time() == QTime(0, 0))
        return moment.date().toString(QStringLiteral("dd.MM.yyyy"));
    return moment.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

DateTime parseDateTime(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const char* format : {"dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy hh:mm", "dd.MM.yyyy"}) {
        const QDateTime moment = QDateTime::fromString(trimmed, QLatin1String(format));
        if (moment.isValid())
            return datetime::encode(moment);
    }
    throw ConvertError(QStringLiteral("\"%1\" не является датой").arg(text));
}

qint64 parseInteger(const QString& text) {
    bool ok = false;
    const qint64 result = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw ConvertError(QStringLiteral("\"%1\" не является целым числом").arg(text));
    return result;
}

double parseFloat(const QString& text) {
    QString plain = text.trimmed();
    plain.replace(QLocale().decimalPoint(), QStringLiteral("."));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double result = plain.toDouble(&ok);
    if (!ok || !std::isfinite(result))
        throw ConvertError(QStringLiteral("\"%1\" не является числом").arg(text));
    return result;
}

} // namespace fb::text
