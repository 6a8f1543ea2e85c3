#include "core/numbers.h"

#include "core/exceptions.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

ConvertError notANumber(const QString& s) {
    return ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
}

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

qint64 powerOfTen(int exponent) {
    qint64 value = 1;
    for (int i = 0; i < exponent; ++i)
        value *= 10;
    return value;
}

} // namespace

int strToInt(const QString& s) {
    bool ok = false;
    const int value = s.toInt(&ok);
    if (!ok)
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return value;
}

Currency strToCurrDot(const QString& s) {
    QString text = s.trimmed();
    text.replace(QLocale().decimalPoint(), QStringLiteral("."));
    bool negative = false;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || !allDigits(whole) || !allDigits(fraction))
        throw notANumber(s);

    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    bool ok = true;
    const qint64 wholeUnits = whole.isEmpty() ? 0 : whole.toLongLong(&ok);
    if (!ok || wholeUnits > kMax / Currency::kScale)
        throw notANumber(s);
    // The fifth decimal rounds, half away from zero.
    const bool roundUp = fraction.size() > 4 && fraction[4] >= u'5';
    const qint64 fractionUnits = fraction.left(4).leftJustified(4, u'0').toLongLong() + roundUp;
    const qint64 base = wholeUnits * Currency::kScale;
    if (fractionUnits > kMax - base)
        throw notANumber(s);
    const qint64 units = base + fractionUnits;
    return Currency{negative ? -units : units};
}

qint64 roundToKopecks(double amount) {
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e15)
        throw ConvertError(QStringLiteral("'%1' is not a valid amount").arg(amount));
    // "d.dddddddddddddde±x": the amount is the 15 digits times 10^(x - 14), the kopecks the digits
    // times 10^(x - 12).
    const QString form = QString::number(std::fabs(amount), 'e', 14);
    const qint64 digits = QString(form.left(1) + form.mid(2, 14)).toLongLong();
    const int shift = form.mid(17).toInt() - 12;
    qint64 kopecks = 0;
    if (shift >= 0) {
        kopecks = digits * powerOfTen(shift);
    } else if (shift >= -15) {
        const qint64 divisor = powerOfTen(-shift);
        kopecks = digits / divisor + (digits % divisor >= divisor / 2 ? 1 : 0);
    }
    return amount < 0 ? -kopecks : kopecks;
}

QString formatAmount(double amount) {
    const qint64 kopecks = roundToKopecks(amount);
    const qint64 size = kopecks < 0 ? -kopecks : kopecks;
    return QStringLiteral("%1%2%3%4")
        .arg(kopecks < 0 ? QStringLiteral("-") : QString())
        .arg(size / 100)
        .arg(QLocale().decimalPoint())
        .arg(size % 100, 2, 10, QLatin1Char('0'));
}
