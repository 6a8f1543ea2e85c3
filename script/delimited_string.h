#pragma once

#include <QString>

// Cuts Text into items, each ended by the delimiter: the text behind the last delimiter is no
// item. An empty delimiter finds no items.
class DelimitedString {
public:
    explicit DelimitedString(const QString& delimiter) : m_delimiter(delimiter) {}

    QString m_text;

    const QString& delimiter() const { return m_delimiter; }

    // The n-th item (1-based); empty when there is none.
    QString item(int n) const;

    // The number of delimiters in Text, counted left to right without overlap.
    int count() const;

private:
    QString m_delimiter;
};
