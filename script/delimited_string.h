#pragma once

#include <QString>

// Cuts a text into items, each ended by the delimiter: the text behind the last delimiter is no
// item. An empty delimiter finds no items.
class DelimitedString {
public:
    explicit DelimitedString(const QString& delimiter) : m_delimiter(delimiter) {}

    const QString& delimiter() const { return m_delimiter; }

    const QString& text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }

    // The n-th item (1-based); empty when there is none.
    QString item(int n) const;

    // The number of delimiters in the text, counted left to right without overlap.
    int count() const;

private:
    QString m_delimiter;
    QString m_text;
};
