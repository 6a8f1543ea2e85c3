#pragma once

#include "store/rights_table.h"

#include <QList>
#include <QString>

namespace fb {
class DataSet;
}

// The users of the book, table USERS: a name, the encoded password (PASSW), the administrator's
// flag (ISADMIN = 1), the user's own data (DATA1: grid layouts, written by his copy of the
// program) and his rights (DATA2). The right to open the users dictionary stands for the
// administrator's flag.
inline constexpr char kUsersTable[] = "USERS";
inline constexpr char kUserNameField[] = "LNAM";

class Users {
public:
    // The select of the dictionary: the hidden users or the others, by name; the flag also as
    // DISPLAYADMIN, for the flag in words.
    static QString dictionarySelect(bool hiddenView);
    // The writes of a row of the dictionary; DATA1 is never written.
    static void setDictionaryWrites(fb::DataSet& rows);
    // The columns that another copy of the program may write while a user is open in the
    // dictionary: the user's own data.
    static QStringList columnsNotWritten();

    // The records of a user's rights as the rights editor shows them: every record denied for
    // a new user, else those of the stored rights text; whatever the text says, the right to
    // open the users dictionary shows the administrator's flag.
    static QList<Permission> shownPermissions(bool newUser, const QString& rights,
                                              bool administrator);
    // Whether areaWord is the area whose right is the administrator's flag ("VocsUsers").
    static bool isAdministratorArea(const QString& areaWord);
};
