#include "core/date_time.h"

#include <cmath>

namespace {

// A function, not a global: other files' globals may be set up with date-times first.
QDate epoch() {
    return QDate(1899, 12, 30);
}

std::function<DateTime()>& nowClock() {
    static std::function<DateTime()> instance;
    return instance;
}

// Splits into days and milliseconds of the day; the time part of a negative value
// counts forward from midnight, as the classic date-time does.
void split(DateTime value, qint64& days, qint64& ms) {
    days = static_cast<qint64>(std::trunc(value));
    ms = std::llround(std::fabs(value - double(days)) * datetime::kMsPerDay);
    if (ms >= qint64(datetime::kMsPerDay)) {
        ms -= qint64(datetime::kMsPerDay);
        days += value < 0 ? -1 : 1;
    }
}

} // namespace

namespace datetime {

DateTime encode(const QDate& date, const QTime& time) {
    const double days = double(epoch().daysTo(date));
    const double fraction = double(time.msecsSinceStartOfDay()) / kMsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

DateTime encode(const QDateTime& value) {
    return encode(value.date(), value.time());
}

DateTime encodeDate(int year, int month, int day) {
    return encode(QDate(year, month, day));
}

QDateTime decode(DateTime value) {
    qint64 days, ms;
    split(value, days, ms);
    return QDateTime(epoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate decodeDate(DateTime value) {
    return decode(value).date();
}

QTime decodeTime(DateTime value) {
    return decode(value).time();
}

DateTime dateOf(DateTime value) {
    return encode(decodeDate(value));
}

DateTime endOfDay(DateTime value) {
    return encode(decodeDate(value), QTime(23, 59, 59, 999));
}

DateTime now() {
    if (nowClock())
        return nowClock()();
    return encode(QDateTime::currentDateTime());
}

void setNowForTesting(std::function<DateTime()> c) {
    nowClock() = std::move(c);
}

} // namespace datetime

QString dateFieldText(const QVariant& value) {
    if (value.isNull())
        return QString();
    const QDate date = value.typeId() == QMetaType::QDateTime
                           ? value.toDateTime().date()
                           : datetime::decodeDate(value.toDouble());
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}
