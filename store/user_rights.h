#pragma once

#include <QString>

class DataStore;

// The rights of the users. A user's rights are key=value records in USERS.DATA2, a key being an
// area word followed by an action number ("IncomeDoc1", "Options1"); only the exact value "N"
// denies.
class UserRights {
public:
    explicit UserRights(DataStore& store) : m_store(store) {}

    // Whether the rights text allows key: false only when its value is exactly "N" (a missing
    // key, an empty value, "n" or any other text allows).
    static bool rightsAllow(const QString& rights, const QString& key);
    // The rights text of the logged-on user, read from the book each time; empty for a user
    // without a row. A database error passes on.
    QString rights() const;
    // Whether the logged-on user's rights allow key; a user without a row is allowed everything.
    bool hasPermission(const QString& key) const;
    // Whether the logged-on user is an administrator (USERS.ISADMIN = 1), read from the book
    // each time: only an administrator keeps the users and their rights, whatever his rights
    // text holds. False with nobody logged on.
    bool isAdministrator() const;

private:
    DataStore& m_store;
};
