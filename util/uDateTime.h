#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <functional>

// A date-time is a double: whole days since 30 December 1899 plus the fraction of the day.
using TDateTime = double;

namespace datetime {

constexpr double kMsPerDay = 86400000.0;

TDateTime encode(const QDate& date, const QTime& time = QTime(0, 0));
TDateTime encode(const QDateTime& value);
TDateTime encodeDate(int year, int month, int day);

// Milliseconds are kept: 23:59:59.999 survives the trip.
QDateTime decode(TDateTime value);
QDate decodeDate(TDateTime value);
QTime decodeTime(TDateTime value);

// The whole-day part and the time-of-day part.
TDateTime dateOf(TDateTime value);
TDateTime endOfDay(TDateTime value); // 23:59:59.999 of the same day

// "Now", replaceable for tests; an empty function restores the clock.
TDateTime now();
void setNowForTesting(std::function<TDateTime()> clock);

} // namespace datetime
