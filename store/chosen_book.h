#pragma once

#include "platform/firebird/database_location.h"

#include <QString>

// The book the start-up chose, made once from its entry of the INI list: the entry's index and
// where the book is (its path as listed, on this machine or on a server's host). None before the
// choice, and when the start-up ended without one.
class ChosenBook {
public:
    ChosenBook() = default;
    ChosenBook(int entry, const QString& path) : m_entry(entry), m_location(path) {}

    bool isNone() const { return m_location.isEmpty(); }
    // The entry of the INI list (from 0); -1 for none.
    int entry() const { return isNone() ? -1 : m_entry; }
    // The path as the list holds it.
    QString path() const { return m_location.text(); }
    // The server's host that keeps the book; empty for a book of this machine.
    QString host() const { return m_location.host(); }
    bool onServer() const { return m_location.onServer(); }
    const fb::DatabaseLocation& location() const { return m_location; }

private:
    int m_entry = -1;
    fb::DatabaseLocation m_location;
};
