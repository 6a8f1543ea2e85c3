#include "core/text.h"

#include "core/exceptions.h"

int posFrom(const QString& sub, const QString& text, int from, int to) {
    const int first = qMax(from, 1);
    const int last = qMin(to, int(text.size()));
    if (sub.isEmpty() || last - first + 1 < sub.size())
        return from - 1;
    const qsizetype at = QStringView(text).sliced(first - 1, last - first + 1).indexOf(sub);
    return at < 0 ? from - 1 : first + int(at);
}

bool substrEquals(const QString& sub, const QString& text, int from, int to) {
    if (to - from + 1 != sub.size())
        return false;
    if (sub.isEmpty())
        return true;
    if (from < 1 || to > text.size())
        return false;
    return QStringView(text).sliced(from - 1, sub.size()) == sub;
}

QString stringReplaceAll(const QString& pattern, const QString& replacement, const QString& text) {
    if (pattern.isEmpty())
        return text;
    if (replacement.contains(pattern))
        throw Exception(QStringLiteral("Замена \"%1\" на \"%2\" никогда не закончится: "
                                       "замена содержит заменяемый текст")
                            .arg(pattern, replacement));
    QString result = text;
    qsizetype at = result.indexOf(pattern);
    while (at >= 0) {
        result.replace(at, pattern.size(), replacement);
        // Before at nothing changed, so a new occurrence overlaps the replacement at least.
        at = result.indexOf(pattern, qMax<qsizetype>(0, at - pattern.size() + 1));
    }
    return result;
}
