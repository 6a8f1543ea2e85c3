#include "script/delimited_string.h"

QString DelimitedString::item(int n) const {
    if (n < 1 || m_delimiter.isEmpty())
        return QString();
    qsizetype start = 0;
    for (int i = 1;; ++i) {
        const qsizetype end = m_text.indexOf(m_delimiter, start);
        if (end < 0)
            return QString();
        if (i == n)
            return m_text.mid(start, end - start);
        start = end + m_delimiter.size();
    }
}

int DelimitedString::count() const {
    if (m_delimiter.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = m_text.indexOf(m_delimiter); at >= 0;
         at = m_text.indexOf(m_delimiter, at + m_delimiter.size()))
        ++count;
    return count;
}
