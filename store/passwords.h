#pragma once

#include <QList>
#include <QString>

class DataStore;

// Passwords are kept in USERS.PASSW in our own reversible hex encoding of the password's
// Windows-1251 bytes.

// The stored form of a password: a seed byte and one byte per character, as upper-case hex
// ("" gives "01", "abc" gives "26464545"). Throws Exception for a character that Windows-1251
// cannot hold.
QString encodePassword(const QString& text);

// Why a new password typed twice cannot be taken; empty when it can. A character outside
// Windows-1251 is refused: stored, it would be the same as "?".
QString checkNewPassword(const QString& password, const QString& confirm);

// Whether a typed password opens a user with this stored PASSW: an empty stored text means no
// password. Text that Windows-1251 cannot hold never matches.
bool passwordAccepted(const QString& typed, const QString& stored);

// Whether a stored PASSW means no password: empty, or the encoding of the empty password.
bool hasNoPassword(const QString& stored);

// A user who may log on: one whose name does not begin with "?".
struct VisibleUser {
    int key = 0;
    QString name;
    QString password;
};

// The users who may log on, in the server's natural order, read on the data store's general
// query.
QList<VisibleUser> visibleUsers(DataStore& store);
