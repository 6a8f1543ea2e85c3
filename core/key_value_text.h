#pragma once

#include <QString>

// Key=value settings text: records of a key, "=", a value and the character U+0001, one after
// another. Keys match exactly (case and length); text behind the last U+0001 is no record.

constexpr char16_t kKeyValueRecordEnd = 0x0001;

// The value of the first record of key; empty when there is none.
QString getKeyValue(const QString& text, const QString& key);

// Text without any record of key, then the new record. A key holding "=" or U+0001 is refused
// (Exception); U+0001 is dropped from the value. A tail that is no record is closed first, so
// that it stays apart from the new record.
QString setKeyValue(const QString& text, const QString& key, const QString& value);

// Another writer's text with this writer's changes laid over it: every record of mine whose value
// differs from the one in base (the text this writer started from) is set in theirs; the rest of
// theirs stays as it is. When theirs is still base, mine comes back unchanged.
QString mergeKeyValueChanges(const QString& theirs, const QString& base, const QString& mine);
