#pragma once

#include "core/numbers.h"

class IniFile;
class UpgradeSteps;

// The upgrade of the books to the version the program needs, without a window: the upgrade window
// runs it for every listed book when the program version has changed, and the session's start-up
// for the one book it opened when that book is older.
//
// Each book is upgraded from its own "DBVersion" (the version passed in only where a book has
// none), backed up before it changes, stamped after every step so that a rerun resumes, and
// stamped with the required version at the end. A book already at the required version is left
// alone; a newer one is never lowered, and one whose version is no number is not guessed at:
// either is named in a message and skipped. Needs the data store (its INI and its connection).
class BookUpgrade {
public:
    explicit BookUpgrade(UpgradeSteps& steps) : m_steps(steps) {}

    // True when the INI's "CurrVersion" differs from the program version, except on a fresh
    // machine (no "CurrVersion", no listed book): the version is stored and false returned.
    static bool programVersionChanged(IniFile& ini);

    // Every listed book, from the INI's "CurrVersion" for the books without a version of their
    // own (the required version when the INI has none); then the program version is stored and
    // "Обновление завершено." said. A "CurrVersion" that is no number raises ConvertError and
    // nothing is done; a failing step stops the run and its error passes on.
    void upgradeEveryBook();

    // For the book opened at start: a missing "DBVersion" is stamped with the required one; an
    // older book asks whether to upgrade it and, on OK, upgrades it. True when the start goes on
    // (the book is not older); false when the program ends: the user said Cancel, or the book was
    // upgraded (the message asks to start the program again). Errors pass on.
    bool upgradeOpenBookWhenOlder();

private:
    // Every listed book when allBooks, else the open one; then the program version is stored and
    // the end said.
    void upgrade(bool allBooks, Currency fromVersion);
    // The open book only; fromVersion stands for a missing "DBVersion".
    void upgradeBook(Currency fromVersion);

    UpgradeSteps& m_steps;
};
