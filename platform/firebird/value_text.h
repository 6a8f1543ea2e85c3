#pragma once

#include "core/date_time.h"

#include <QString>

// Text forms of column values, shared by statements and datasets.
namespace fb::text {

// "dd.MM.yyyy", with " hh:mm:ss" when the time is not midnight.
QString dateTimeText(DateTime value);

// The reverse of dateTimeText (minutes alone are accepted too); ConvertError otherwise.
DateTime parseDateTime(const QString& text);

// A decimal integer, blanks around it ignored; ConvertError otherwise.
qint64 parseInteger(const QString& text);

// A number with the point, the comma or the locale's separator; ConvertError otherwise.
double parseFloat(const QString& text);

} // namespace fb::text
