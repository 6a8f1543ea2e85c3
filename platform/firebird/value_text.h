#pragma once

#include "core/date_time.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace fb {

// The type of a result column, from the server's description.
enum class FieldType { Null, Integer, Float, String, DateTime, Blob, Boolean };

// Text forms of column values.
namespace text {

// "dd.MM.yyyy", with " hh:mm:ss" when the time is not midnight.
QString dateTimeText(DateTime value);

// The reverse of dateTimeText (minutes alone are accepted too); ConvertError otherwise.
DateTime parseDateTime(const QString& text);

// A decimal integer, blanks around it ignored; ConvertError otherwise.
qint64 parseInteger(const QString& text);

// A number with the point, the comma or the locale's separator; ConvertError otherwise.
double parseFloat(const QString& text);

} // namespace text

// The one conversion of column values, for the fields of statements and of datasets alike.
//
// A value is held in the form of its type: a null QVariant, or qint64 (Integer), double (Float),
// QString (String), double holding a DateTime (DateTime), QByteArray (Blob), bool (Boolean).
namespace value {

// How a number is written as text: with "." as the server reads it, or with the decimal
// separator of the user's locale as the windows show it.
enum class DecimalPoint { Dot, Locale };

// Reading a value in another form; a null value reads as "", 0, 0.0, 0 (date) or empty bytes.
// Numbers as text have up to 15 digits ("12.5"), dates read as dateTimeText, blobs decode from
// Windows-1251, booleans read "True" and "False". Integers from floats and dates are rounded.
// A text read as a number or a date is parsed (ConvertError when it holds none).
QString toString(const QVariant& value, FieldType type, DecimalPoint point);
qint64 toInteger(const QVariant& value, FieldType type);
double toFloat(const QVariant& value, FieldType type);
DateTime toDateTime(const QVariant& value, FieldType type);
// Blobs as they are; any other value as its text in Windows-1251.
QByteArray toBytes(const QVariant& value, FieldType type, DecimalPoint point);

// A value of type `from` in the form of type `to`, for assignments. A blank text makes a value
// of any type but text and blob null; text refuses characters Windows-1251 cannot hold
// (Exception); a text that does not convert throws ConvertError; a boolean goes to other types
// as 1 or 0.
QVariant convert(const QVariant& value, FieldType from, FieldType to, DecimalPoint point);

} // namespace value

} // namespace fb
