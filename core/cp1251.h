#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251, the code page of the database and of every file the program exchanges.
// Our own exact table: a character the code page cannot hold is refused, never turned into "?".
namespace cp1251 {

// Every byte decodes; 0x98, which names no character, decodes to U+0098 so that bytes round-trip.
QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);

// Throws Exception naming the first character that Windows-1251 cannot hold.
QByteArray encode(const QString& text);

// True when every character of text has a Windows-1251 byte.
bool canEncode(const QString& text);

// The first character of text (a pair of surrogates counts as one character) that Windows-1251
// cannot hold; empty when there is none.
QString firstForeignCharacter(const QString& text);

// The character and its code point: "\"😀\" (U+1F600)".
QString characterName(const QString& character);

} // namespace cp1251
