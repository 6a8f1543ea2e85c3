#include "core/numbers.h"

#include "core/exceptions.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
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

// The size of an amount in units; the smallest amount has no positive counterpart in qint64.
quint64 unitsSize(Currency value) {
    return value.units < 0 ? quint64(0) - quint64(value.units) : quint64(value.units);
}

// One section of a display mask, read once before the amount is written through it.
struct MaskSection {
    QString text;
    int integerPlaces = 0; // "0" and "#" before the point
    int integerZeros = 0;  // the places from the first "0" before the point to the point
    int decimalPlaces = 0; // "0" and "#" after the point
    int decimalZeros = 0;  // the places after the point up to the last "0"
    bool grouped = false;  // a "," before the point
};

bool isQuote(QChar c) {
    return c == u'\'' || c == u'"';
}

// The sections of a mask, split at the ";" outside quotes.
QStringList maskSections(const QString& mask) {
    QStringList sections(QString{});
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

MaskSection readSection(const QString& text) {
    MaskSection section;
    section.text = text;
    bool afterPoint = false;
    bool zeroSeen = false;
    QChar quote;
    for (QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            section.grouped = true;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++section.decimalPlaces;
                if (c == u'0')
                    section.decimalZeros = section.decimalPlaces;
            } else {
                ++section.integerPlaces;
                zeroSeen = zeroSeen || c == u'0';
                if (zeroSeen)
                    ++section.integerZeros;
            }
        }
    }
    return section;
}

// The digits of an amount's size through a section: rounded half away from zero to the section's
// decimals, the whole part without leading zeros (empty for 0), the decimals without the trailing
// zeros that the section does not ask for.
struct Digits {
    QString whole;
    QString fraction;
    bool zero = true; // nothing but zeros after rounding
};

Digits roundedDigits(quint64 size, const MaskSection& section) {
    const int shown = std::min(section.decimalPlaces, 4);
    const quint64 divisor = quint64(powerOfTen(4 - shown));
    const quint64 rest = size % divisor;
    const quint64 rounded = size / divisor + (divisor > 1 && rest * 2 >= divisor ? 1 : 0);
    const quint64 scale = quint64(powerOfTen(shown));
    Digits digits;
    digits.zero = rounded == 0;
    if (rounded / scale != 0)
        digits.whole = QString::number(rounded / scale);
    if (shown > 0)
        digits.fraction = QStringLiteral("%1").arg(rounded % scale, shown, 10, QLatin1Char('0'));
    digits.fraction = digits.fraction.leftJustified(section.decimalPlaces, u'0');
    while (digits.fraction.size() > section.decimalZeros && digits.fraction.endsWith(u'0'))
        digits.fraction.chop(1);
    return digits;
}

// The size written through one section.
QString writeSection(const MaskSection& section, const Digits& rounded) {
    const QLocale locale;
    const QString& fraction = rounded.fraction;
    const QString digits = rounded.whole.rightJustified(section.integerZeros, u'0');
    // Integer place i takes the digit digits[i - offset]; the first place also takes every digit
    // that has no place of its own.
    const int offset = section.integerPlaces - int(digits.size());
    QString result;
    auto writeDigit = [&](int k) {
        result += digits[k];
        const int after = int(digits.size()) - 1 - k;
        if (section.grouped && after > 0 && after % 3 == 0)
            result += locale.groupSeparator();
    };
    int integerPlace = 0;
    int decimalPlace = 0;
    bool afterPoint = false;
    QChar quote;
    for (QChar c : section.text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                result += c;
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == u'.') {
            if (!afterPoint && !fraction.isEmpty())
                result += locale.decimalPoint();
            afterPoint = true;
        } else if (c == u',') {
            // a grouping mark, never written
        } else if ((c == u'0' || c == u'#') && afterPoint) {
            if (decimalPlace < fraction.size())
                result += fraction[decimalPlace];
            ++decimalPlace;
        } else if (c == u'0' || c == u'#') {
            if (integerPlace == 0)
                for (int k = 0; k < -offset; ++k)
                    writeDigit(k);
            if (integerPlace - offset >= 0)
                writeDigit(integerPlace - offset);
            ++integerPlace;
        } else {
            result += c;
        }
    }
    return result;
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

Currency currencyFromDouble(double value) {
    const double units = std::round(value * Currency::kScale);
    if (!std::isfinite(units) || std::fabs(units) >= 9e18)
        throw ConvertError(QStringLiteral("'%1' is not a valid amount").arg(value));
    return Currency{qint64(units)};
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

QString amountText(const std::optional<Currency>& amount) {
    return amount ? formatAmount(amount->toDouble()) : QString();
}

QString currencyText(Currency value) {
    const quint64 size = unitsSize(value);
    QString text = QString::number(size / quint64(Currency::kScale));
    if (value.units < 0)
        text.prepend(u'-');
    QString fraction =
        QStringLiteral("%1").arg(size % quint64(Currency::kScale), 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLocale().decimalPoint() + fraction;
    return text;
}

QString formatFloat(const QString& mask, Currency value) {
    if (mask.isEmpty())
        return currencyText(value);
    const QStringList sections = maskSections(mask);
    auto sectionAt = [&](int index) {
        return index < sections.size() ? readSection(sections[index]) : MaskSection{};
    };
    const MaskSection positive = sectionAt(0);
    const MaskSection negative = sectionAt(1);
    const MaskSection zero = sectionAt(2);
    const bool ownNegative = value.units < 0 && !negative.text.isEmpty();
    const MaskSection& section = ownNegative ? negative : positive;
    const Digits digits = roundedDigits(unitsSize(value), section);
    if (digits.zero) {
        const MaskSection& zeroSection = zero.text.isEmpty() ? positive : zero;
        return writeSection(zeroSection, roundedDigits(0, zeroSection));
    }
    const QString text = writeSection(section, digits);
    return value.units < 0 && !ownNegative ? u'-' + text : text;
}
