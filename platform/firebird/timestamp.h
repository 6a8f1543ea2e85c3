#pragma once

#include "core/date_time.h"

#include <ibase.h>

// Exact conversion between DateTime and the server's date-time, which counts days since
// 17 November 1858 and the time of day in units of 1/10000 second. Milliseconds survive
// (23:59:59.999 comes back as it went); a value finer than 1/10000 s is rounded to it.
namespace fb::timestamp {

ISC_TIMESTAMP fromDateTime(DateTime value);
DateTime toDateTime(const ISC_TIMESTAMP& value);

DateTime fromDate(ISC_DATE date);
DateTime fromTime(ISC_TIME time);

} // namespace fb::timestamp
