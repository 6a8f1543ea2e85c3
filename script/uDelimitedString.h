#pragma once

#include <QString>

// Cuts Text into items, each ended by the delimiter: the text behind the last delimiter is no
// item. An empty delimiter finds no items.
class TDelimitedString {
public:
    explicit TDelimitedString(const QString& delimiter) : m_delimiter(delimiter) {}

    QString Text;

    const QString& Delimiter() const { return m_delimiter; }

    // The n-th item (1-based); empty when there is none.
    QString GetItem(int n) const;

    // The number of delimiters in Text, counted left to right without overlap.
    int GetCount() const;

private:
    QString m_delimiter;
};
