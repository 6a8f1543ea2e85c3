#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace fb {

// SQL text with named parameters turned into positional markers.
struct ParsedSql {
    QString sql;               // the text with every ":NAME" replaced by "?"
    QStringList names;         // the distinct parameter names, upper case, in order of first use
    QList<int> positionToName; // for each "?" of sql, in order: its index in names
};

// Rewrites ":NAME" parameters (NAME: a letter or "_", then letters, digits, "_" or "$") into "?".
// Text inside '...' and "..." literals (with doubled quotes inside) and inside -- and /* */
// comments is left alone, so LIKE '?%' keeps its question mark. The same name may occur several
// times; names compare without regard to case. A "?" already in the text outside literals is a
// parameter without a name: it gets an entry of its own with an empty name.
ParsedSql parseNamedParams(const QString& sql);

} // namespace fb
