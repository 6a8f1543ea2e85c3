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
