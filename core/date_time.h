#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <functional>

// A date-time is a double: whole days since 30 December 1899 plus the fraction of the day.
using DateTime = double;

namespace datetime {

constexpr double kMsPerDay = 86400000.0;

DateTime encode(const QDate& date, const QTime& time = QTime(0, 0));
DateTime encode(const QDateTime& value);
DateTime encodeDate(int year, int month, int day);

// Milliseconds are kept: 23:59:59.999 survives the trip.
QDateTime decode(DateTime value);
QDate decodeDate(DateTime value);
QTime decodeTime(DateTime value);

// The day of value at 00:00 (its whole-day part), and at 23:59:59.999.
DateTime dateOf(DateTime value);
DateTime endOfDay(DateTime value);

// "Now", replaceable for tests; an empty function restores the clock.
DateTime now();
void setNowForTesting(std::function<DateTime()> clock);

} // namespace datetime

// Display text of a date field: "dd.mm.yyyy", empty for null. The value is a QDateTime or a
// DateTime held as a double.
QString dateFieldText(const QVariant& value);
