#include "platform/firebird/named_params.h"

namespace fb {

namespace {

bool isNameStart(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('_');
}

bool isNamePart(QChar c) {
    return isNameStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           c == QLatin1Char('$');
}

// The position right after a quoted literal that starts at from; doubled quotes stay inside.
qsizetype skipQuoted(const QString& sql, qsizetype from) {
    const QChar quote = sql[from];
    qsizetype i = from + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

qsizetype skipLineComment(const QString& sql, qsizetype from) {
    const qsizetype end = sql.indexOf(QLatin1Char('\n'), from);
    return end < 0 ? sql.size() : end;
}

qsizetype skipBlockComment(const QString& sql, qsizetype from) {
    const qsizetype end = sql.indexOf(QLatin1String("*/"), from + 2);
    return end < 0 ? sql.size() : end + 2;
}

int nameIndex(ParsedSql& parsed, const QString& name) {
    const QString upper = name.toUpper();
    int index = name.isEmpty() ? -1 : int(parsed.names.indexOf(upper));
    if (index < 0) {
        parsed.names.append(upper);
        index = int(parsed.names.size()) - 1;
    }
    return index;
}

} // namespace

ParsedSql parseNamedParams(const QString& sql) {
    ParsedSql parsed;
    parsed.sql.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        qsizetype end = i + 1;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            end = skipQuoted(sql, i);
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            end = skipLineComment(sql, i);
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            end = skipBlockComment(sql, i);
        } else if (c == QLatin1Char('?')) {
            parsed.positionToName.append(nameIndex(parsed, QString()));
        } else if (c == QLatin1Char(':') && isNameStart(next)) {
            end = i + 2;
            while (end < sql.size() && isNamePart(sql[end]))
                ++end;
            parsed.positionToName.append(nameIndex(parsed, sql.mid(i + 1, end - i - 1)));
            parsed.sql.append(QLatin1Char('?'));
            i = end;
            continue;
        }
        parsed.sql.append(QStringView(sql).mid(i, end - i));
        i = end;
    }
    return parsed;
}

} // namespace fb
