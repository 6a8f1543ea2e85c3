#include "documents/document_number.h"

#include "documents/book_query.h"

#include <limits>

namespace {

constexpr int kIssueType = 2;

// The latest document of a type by date, the later entered first of those of one date.
constexpr char kLatestNumberSql[] = "SELECT O.PRKEY,O.NUM,O.DAT FROM OPER O\n"
                                    "WHERE O.TYP=:TYP\n"
                                    "ORDER BY O.DAT DESCENDING, O.PRKEY DESCENDING";

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString nextDocumentNumber(const QString& last) {
    const QString digits = last.trimmed();
    if (!isDigits(digits))
        return QStringLiteral("1");
    bool ok = false;
    const qint64 number = digits.toLongLong(&ok);
    if (!ok || number == std::numeric_limits<qint64>::max())
        return QStringLiteral("1");
    return QString::number(number + 1);
}

QString proposedIssueNumber() {
    BookQuery latest(QString::fromLatin1(kLatestNumberSql));
    latest.param(QStringLiteral("TYP")).setInteger(kIssueType);
    return nextDocumentNumber(latest.first() ? latest.field(QStringLiteral("NUM")).asString()
                                             : QString());
}
