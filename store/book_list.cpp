#include "store/book_list.h"

#include "core/file_operations.h"
#include "core/ini_file.h"

namespace {

const QString kSection = QStringLiteral("DB");
const QString kCount = QStringLiteral("DatabaseCount");

QString captionKey(int i) {
    return QStringLiteral("DatabaseCaption_") + QString::number(i);
}

QString pathKey(int i) {
    return QStringLiteral("DatabasePath_") + QString::number(i);
}

} // namespace

int BookList::count() const {
    return m_ini.readInteger(kSection, kCount, 0);
}

QString BookList::path(int index) const {
    return m_ini.readString(kSection, pathKey(index), QString());
}

QString BookList::caption(int index) const {
    return m_ini.readString(kSection, captionKey(index), QString());
}

QList<BookEntry> BookList::entries() const {
    QList<BookEntry> list = storedEntries();
    for (BookEntry& entry : list)
        if (entry.caption.trimmed().isEmpty())
            entry.caption = fileNamePart(entry.path);
    return list;
}

QList<BookEntry> BookList::storedEntries() const {
    const int total = count();
    QList<BookEntry> list;
    for (int i = 0; i < total; ++i)
        list << BookEntry{caption(i), path(i)};
    return list;
}

// The count is written after the entries and the stale keys go last, so that a rewrite that
// stops half-way still leaves a list that reads back whole.
void BookList::save(const QList<BookEntry>& entries) {
    const IniFile::Lock lock(m_ini);
    const int old = count();
    for (int i = 0; i < entries.size(); ++i) {
        m_ini.writeString(kSection, pathKey(i), entries.at(i).path);
        m_ini.writeString(kSection, captionKey(i), entries.at(i).caption);
    }
    m_ini.writeInteger(kSection, kCount, int(entries.size()));
    for (int i = int(entries.size()); i < old; ++i) {
        m_ini.deleteKey(kSection, pathKey(i));
        m_ini.deleteKey(kSection, captionKey(i));
    }
}

void BookList::append(const QString& path, const QString& caption) {
    const IniFile::Lock lock(m_ini);
    const int index = count();
    m_ini.writeString(kSection, pathKey(index), path);
    m_ini.writeString(kSection, captionKey(index), caption);
    m_ini.writeInteger(kSection, kCount, index + 1);
}

// The captions stay as the INI holds them: a blank one is not filled with the file name.
bool BookList::remove(const QString& bookPath) {
    const IniFile::Lock lock(m_ini);
    QList<BookEntry> list = storedEntries();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).path == bookPath) {
            list.removeAt(i);
            save(list);
            return true;
        }
    return false;
}

bool BookList::renameBook(const QString& bookPath, const QString& caption) {
    const IniFile::Lock lock(m_ini);
    const int total = count();
    for (int i = 0; i < total; ++i)
        if (sameBook(path(i), bookPath)) {
            m_ini.writeString(kSection, captionKey(i), caption);
            return true;
        }
    return false;
}

QString BookList::fileNamePart(const QString& path) {
    const int slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

// A book on a server has no canonical path here: its entry's own text names it.
bool BookList::sameBook(const QString& a, const QString& b) {
    return (!a.isEmpty() && a == b) || sameFile(a, b);
}
