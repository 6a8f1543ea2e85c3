#pragma once

#include "store/chosen_book.h"

#include <QList>
#include <QString>

class IniFile;

// One entry of the list of books.
struct BookEntry {
    QString caption; // as shown: the INI caption, or the file name when that is blank
    QString path;
};

// The list of books in section "DB" of the INI file: "DatabaseCount", then "DatabasePath_N" and
// "DatabaseCaption_N" for N from 0. The list stays dense: every change rewrites it whole. Each
// change reads and writes the list under the INI's lock, so that running copies changing the
// list at once keep each other's entries.
//
// A book's path is a local database file, or "host:/path/file.fdb" for a book that a Firebird
// server keeps (the host may carry a port: "host/3051:/path/file.fdb"); book() makes the value
// that tells them apart.
class BookList {
public:
    explicit BookList(IniFile& ini) : m_ini(ini) {}

    int count() const;
    QString path(int index) const;
    // The book of the entry at index, as the start-up chooses it.
    ChosenBook book(int index) const { return ChosenBook(index, path(index)); }
    // The caption as the INI file holds it (maybe blank).
    QString caption(int index) const;
    // Every entry, a blank caption shown as the file name.
    QList<BookEntry> entries() const;

    // Rewrites the list with entries, in their order.
    void save(const QList<BookEntry>& entries);
    // Appends an entry at the end of the list.
    void append(const QString& path, const QString& caption);
    // Removes the first entry whose path is path, as the list holds it; false when there is none.
    bool remove(const QString& path);
    // The entry of the book bookPath takes caption; the entry is found by the book (sameBook),
    // not by a position, since the list may have changed. False when the book is not listed.
    bool renameBook(const QString& bookPath, const QString& caption);

    // The file name part of a path; the list may come from a system with either separator.
    static QString fileNamePart(const QString& path);
    // True when both paths name one book: the same text, or one local file (canonical paths).
    static bool sameBook(const QString& a, const QString& b);

private:
    // Every entry as the INI holds it.
    QList<BookEntry> storedEntries() const;

    IniFile& m_ini;
};
