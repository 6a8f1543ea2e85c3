#pragma once

#include <QString>
#include <compare>

// A fixed-point amount with four decimals, kept as a count of 1/10000.
struct Currency {
    static constexpr qint64 kScale = 10000;
    qint64 units = 0;

    double toDouble() const { return double(units) / kScale; }
    friend auto operator<=>(const Currency&, const Currency&) = default;
};

// "." is taken as the decimal separator whatever the locale (the locale's own is accepted too);
// blanks around the number are ignored. Text that is no number raises ConvertError.
Currency strToCurrDot(const QString& s);

// A decimal integer; text that is no integer raises ConvertError ("'x' is not a valid integer
// value"), as the classic conversion does.
int strToInt(const QString& s);

// An amount of money in whole kopecks: the amount's decimal form of 15 significant digits rounded
// to two places, half away from zero, so 2.995 and 2.996 give 300 and -0.995 gives -100. The
// figure below and the amount in words (core/amount_in_words.h) both round here, so they always
// agree. An amount that is not finite or not below 10^15 in size raises ConvertError.
qint64 roundToKopecks(double amount);

// The amount with the picture "#0.00": the kopecks of roundToKopecks, the locale's decimal
// separator, a "-" before a negative amount (never "-0.00").
QString formatAmount(double amount);
