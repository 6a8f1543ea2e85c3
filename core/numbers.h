#pragma once

#include <QString>
#include <compare>
#include <optional>

// A fixed-point amount with four decimals, kept as a count of 1/10000.
struct Currency {
    static constexpr qint64 kScale = 10000;
    qint64 units = 0;

    double toDouble() const { return double(units) / kScale; }
    friend auto operator<=>(const Currency&, const Currency&) = default;
};

// The amount nearest to value, to four decimals; one that does not fit (or is not finite) raises
// ConvertError.
Currency currencyFromDouble(double value);

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
// The amount through formatAmount; the empty text for none.
QString amountText(const std::optional<Currency>& amount);

// The amount as the library's currency-to-text gives it: as few decimals as it needs (none for a
// whole amount), the locale's decimal separator, no grouping, a "-" before a negative amount.
QString currencyText(Currency value);

// The amount through a display mask, as the library's float formatting does: "0" a digit that is
// always written, "#" a digit written only when it counts, the first "." the decimal point, a ","
// before the point groups the thousands, text in single or double quotes and any other character
// written as it stands; up to three sections "positive;negative;zero" (an empty or missing
// section falls back to the first, which writes a "-" before a negative amount). The amount is
// rounded half away from zero to the mask's decimals; one that rounds to zero is written as zero.
// The locale's separators are used. An empty mask gives currencyText.
QString formatFloat(const QString& mask, Currency value);
