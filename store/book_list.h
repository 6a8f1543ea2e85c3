#pragma once

#include <QList>
#include <QString>

class IniFile;

// One entry of the list of books.
struct BookEntry {
    QString caption; // as shown: the INI caption, or the file name when that is blank
    QString path;
};

// The list of books in section "DB" of the INI file: "DatabaseCount", then "DatabasePath_N" and
// "DatabaseCaption_N" for N from 0. The list stays dense: every change rewrites it whole.
class BookList {
public:
    explicit BookList(IniFile& ini) : m_ini(ini) {}

    int count() const;
    QString path(int index) const;
    // The caption as the INI file holds it (maybe blank).
    QString caption(int index) const;
    // Every entry, a blank caption shown as the file name.
    QList<BookEntry> entries() const;

    // Rewrites the list with entries, in their order.
    void save(const QList<BookEntry>& entries);
    // Appends an entry at the end of the list.
    void append(const QString& path, const QString& caption);
    // The entry of the book file bookPath takes caption; the entry is found by the file, not by
    // a position, since the list may have changed. False when the book is not listed.
    bool renameBook(const QString& bookPath, const QString& caption);

    // The file name part of a path; the list may come from a system with either separator.
    static QString fileNamePart(const QString& path);

private:
    IniFile& m_ini;
};
