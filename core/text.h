#pragma once

#include <QString>

// Searches and replacements in text.

// Positions are 1-based, to inclusive. The position of the first occurrence of sub lying wholly
// within from..to of text; from - 1 when there is none or sub is empty.
int posFrom(const QString& sub, const QString& text, int from, int to);

// True when text[from..to] equals sub exactly (an empty sub equals an empty stretch).
bool substrEquals(const QString& sub, const QString& text, int from, int to);

// Replaces the first occurrence of pattern by replacement and searches again from the start,
// until pattern no longer occurs. An empty pattern leaves text unchanged; a replacement that
// contains pattern would never end and is refused (Exception).
QString stringReplaceAll(const QString& pattern, const QString& replacement, const QString& text);
