#include "platform/firebird/value_text.h"

#include "core/cp1251.h"
#include "core/exceptions.h"

#include <QLocale>
#include <cmath>

namespace fb {

namespace text {

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

} // namespace text

namespace value {

namespace {

QString numberText(double number, DecimalPoint point) {
    QString text = QString::number(number, 'g', 15);
    if (point == DecimalPoint::Locale)
        text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return text;
}

bool parseBoolean(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("true") || word == QLatin1String("1") || word == QLatin1String("-1"))
        return true;
    if (word == QLatin1String("false") || word == QLatin1String("0"))
        return false;
    throw ConvertError(QStringLiteral("\"%1\" не является логическим значением").arg(text));
}

QVariant fromString(const QString& text, FieldType to) {
    switch (to) {
    case FieldType::String:
    case FieldType::Null:
        cp1251::encode(text); // refuses what the database cannot hold
        return text;
    case FieldType::Blob:
        return cp1251::encode(text);
    default:
        break;
    }
    if (text.trimmed().isEmpty())
        return {};
    switch (to) {
    case FieldType::Integer:
        return text::parseInteger(text);
    case FieldType::Float:
        return text::parseFloat(text);
    case FieldType::DateTime:
        return text::parseDateTime(text);
    default:
        return parseBoolean(text);
    }
}

QVariant fromInteger(qint64 number, FieldType to) {
    switch (to) {
    case FieldType::Integer:
        return number;
    case FieldType::Float:
    case FieldType::DateTime:
        return double(number);
    case FieldType::Boolean:
        return number != 0;
    default:
        return fromString(QString::number(number), to);
    }
}

QVariant fromFloat(double number, FieldType to, DecimalPoint point) {
    switch (to) {
    case FieldType::Integer:
        return qint64(std::llround(number));
    case FieldType::Float:
    case FieldType::DateTime:
        return number;
    case FieldType::Boolean:
        return number != 0;
    default:
        return fromString(numberText(number, point), to);
    }
}

QVariant fromDateTime(DateTime moment, FieldType to) {
    switch (to) {
    case FieldType::Integer:
        return qint64(std::llround(moment));
    case FieldType::Float:
    case FieldType::DateTime:
        return moment;
    default:
        return fromString(text::dateTimeText(moment), to);
    }
}

} // namespace

QString toString(const QVariant& value, FieldType type, DecimalPoint point) {
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::Float:
        return numberText(value.toDouble(), point);
    case FieldType::DateTime:
        return text::dateTimeText(value.toDouble());
    case FieldType::Blob:
        return cp1251::decode(value.toByteArray());
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::String:
    case FieldType::Null:
        break;
    }
    return value.toString();
}

qint64 toInteger(const QVariant& value, FieldType type) {
    if (value.isNull())
        return 0;
    switch (type) {
    case FieldType::Integer:
        return value.toLongLong();
    case FieldType::Float:
    case FieldType::DateTime:
        return std::llround(value.toDouble());
    case FieldType::Boolean:
        return value.toBool() ? 1 : 0;
    default:
        return text::parseInteger(toString(value, type, DecimalPoint::Dot));
    }
}

double toFloat(const QVariant& value, FieldType type) {
    if (value.isNull())
        return 0;
    switch (type) {
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::DateTime:
        return value.toDouble();
    case FieldType::Boolean:
        return value.toBool() ? 1 : 0;
    default:
        return text::parseFloat(toString(value, type, DecimalPoint::Dot));
    }
}

DateTime toDateTime(const QVariant& value, FieldType type) {
    if (value.isNull())
        return 0;
    switch (type) {
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::DateTime:
        return value.toDouble();
    default:
        return text::parseDateTime(toString(value, type, DecimalPoint::Dot));
    }
}

QByteArray toBytes(const QVariant& value, FieldType type, DecimalPoint point) {
    if (type == FieldType::Blob)
        return value.toByteArray();
    return cp1251::encode(toString(value, type, point));
}

QVariant convert(const QVariant& value, FieldType from, FieldType to, DecimalPoint point) {
    if (value.isNull())
        return {};
    switch (from) {
    case FieldType::Integer:
        return fromInteger(value.toLongLong(), to);
    case FieldType::Float:
        return fromFloat(value.toDouble(), to, point);
    case FieldType::DateTime:
        return fromDateTime(value.toDouble(), to);
    case FieldType::Boolean:
        return to == FieldType::Boolean ? QVariant(value.toBool())
                                        : fromInteger(value.toBool() ? 1 : 0, to);
    case FieldType::Blob:
        return to == FieldType::Blob ? value : fromString(cp1251::decode(value.toByteArray()), to);
    case FieldType::String:
    case FieldType::Null:
        break;
    }
    return fromString(value.toString(), to);
}

} // namespace value

} // namespace fb
