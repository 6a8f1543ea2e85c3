#pragma once

#include "core/date_time.h"

#include <QString>

// The month of date, lower case: Russian and Ukrainian, in the nominative and the genitive.
QString monthNameRU(DateTime date);
QString monthNameGenRU(DateTime date);
QString monthNameUA(DateTime date);
QString monthNameGenUA(DateTime date);
