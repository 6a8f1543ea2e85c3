#pragma once

#include <QString>

// The users dictionary. Here: the rights check that every window asks. A user's rights are
// key=value records in USERS.DATA2, a key being an area word followed by an action number
// ("IncomeDoc1", "Options1"); only the exact value "N" denies.
class UserRights {
public:
    // Whether the rights text allows key: false only when its value is exactly "N" (a missing
    // key, an empty value, "n" or any other text allows).
    static bool rightsAllow(const QString& rights, const QString& key);
    // The same for the logged-on user (m_userKey of the data store), whose rights are read from
    // the book each time; a user without a row allows everything. A database error passes on.
    static bool hasPermission(const QString& key);
};
