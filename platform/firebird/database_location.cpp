#include "platform/firebird/database_location.h"

namespace fb {

DatabaseLocation::DatabaseLocation(const QString& text) : m_text(text), m_file(text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 1 || text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('.')))
        return;
    m_host = text.left(colon);
    m_file = text.mid(colon + 1);
}

} // namespace fb
