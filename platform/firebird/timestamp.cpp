#include "platform/firebird/timestamp.h"

#include <cmath>

namespace fb::timestamp {

namespace {

// 30 December 1899, day 0 of DateTime, in the server's day count.
constexpr qint64 kEpochShift = 15018;
constexpr qint64 kUnitsPerDay = 864000000; // 1/10000 s
constexpr qint64 kUnitsPerMs = 10;

// The time part as a fraction of a day; whole milliseconds are computed as the date-time
// helpers compute them, so that a value read back equals the value written.
double fraction(qint64 units) {
    if (units % kUnitsPerMs == 0)
        return double(units / kUnitsPerMs) / datetime::kMsPerDay;
    return double(units) / double(kUnitsPerDay);
}

// Days and time of day as a DateTime; the time part of a negative value counts forward
// from midnight, as everywhere in the program.
DateTime combine(qint64 days, qint64 units) {
    return days >= 0 ? double(days) + fraction(units) : double(days) - fraction(units);
}

} // namespace

ISC_TIMESTAMP fromDateTime(DateTime value) {
    qint64 days = static_cast<qint64>(std::trunc(value));
    qint64 units = std::llround(std::fabs(value - double(days)) * double(kUnitsPerDay));
    if (units >= kUnitsPerDay) {
        units -= kUnitsPerDay;
        days += value < 0 ? -1 : 1;
    }
    ISC_TIMESTAMP result;
    result.timestamp_date = static_cast<ISC_DATE>(days + kEpochShift);
    result.timestamp_time = static_cast<ISC_TIME>(units);
    return result;
}

DateTime toDateTime(const ISC_TIMESTAMP& value) {
    return combine(qint64(value.timestamp_date) - kEpochShift, qint64(value.timestamp_time));
}

DateTime fromDate(ISC_DATE date) {
    return double(qint64(date) - kEpochShift);
}

DateTime fromTime(ISC_TIME time) {
    return fraction(qint64(time));
}

} // namespace fb::timestamp
