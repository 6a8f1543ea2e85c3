#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace fb {
class Attachment;
}

// What the dictionaries of the book (partners, payment types, users) have in common.

// An entry of a dictionary as its pick lists show it.
struct DictionaryEntry {
    int key = 0; // PRKEY
    QString name;
};

// The mark in front of the name of a hidden entry: pick lists leave it out, and its dictionary
// shows it only in the hidden view.
inline constexpr QChar kHiddenMark = u'?';

// The condition of a select on a name column: the hidden names, or the others.
QString hiddenNameCondition(const QString& column, bool hidden);

// The entries of sql, a select of PRKEY and a name whose one parameter :TYP is type, read in a
// read-only transaction of their own.
QList<DictionaryEntry> readEntries(fb::Attachment& database, const QString& sql, int type);
