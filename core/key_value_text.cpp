#include "core/key_value_text.h"

#include "core/exceptions.h"
#include "core/text.h"

namespace {

const QChar kRecordEnd(kKeyValueRecordEnd);
const QChar kEquals(u'=');

// The 1-based position of the "=" of the record start..end (end is its U+0001), or 0.
int equalsOfRecord(const QString& text, int start, int end) {
    const int eq = posFrom(QString(kEquals), text, start, end - 1);
    return eq >= start ? eq : 0;
}

// The 1-based position of the U+0001 that ends the record at start, or 0.
int endOfRecord(const QString& text, int start) {
    const int end = posFrom(QString(kRecordEnd), text, start, int(text.size()));
    return end >= start ? end : 0;
}

} // namespace

QString getKeyValue(const QString& text, const QString& key) {
    int start = 1;
    while (start <= text.size()) {
        const int end = endOfRecord(text, start);
        if (end == 0)
            break;
        const int eq = equalsOfRecord(text, start, end);
        if (eq != 0 && substrEquals(key, text, start, eq - 1))
            return text.mid(eq, end - eq - 1);
        start = end + 1;
    }
    return QString();
}

QString setKeyValue(const QString& text, const QString& key, const QString& value) {
    if (key.contains(kEquals) || key.contains(kRecordEnd))
        throw Exception(QStringLiteral("Недопустимый ключ настройки \"%1\": ключ не может "
                                       "содержать символ \"=\" или символ с кодом 1")
                            .arg(QString(key).remove(kRecordEnd)));
    QString result = text;
    int start = 1;
    while (start <= result.size()) {
        const int end = endOfRecord(result, start);
        if (end == 0)
            break;
        const int eq = equalsOfRecord(result, start, end);
        if (eq != 0 && substrEquals(key, result, start, eq - 1))
            result.remove(start - 1, end - start + 1);
        else
            start = end + 1;
    }
    if (!result.isEmpty() && !result.endsWith(kRecordEnd))
        result += kRecordEnd;
    return result + key + kEquals + QString(value).remove(kRecordEnd) + kRecordEnd;
}

QString mergeKeyValueChanges(const QString& theirs, const QString& base, const QString& mine) {
    if (theirs == base)
        return mine;
    QString result = theirs;
    int start = 1;
    while (start <= mine.size()) {
        const int end = endOfRecord(mine, start);
        if (end == 0)
            break;
        const int eq = equalsOfRecord(mine, start, end);
        if (eq != 0) {
            const QString key = mine.mid(start - 1, eq - start);
            const QString value = mine.mid(eq, end - eq - 1);
            // The first record of a key is the one read; later ones are dead copies.
            if (getKeyValue(mine, key) == value && getKeyValue(base, key) != value)
                result = setKeyValue(result, key, value);
        }
        start = end + 1;
    }
    return result;
}
