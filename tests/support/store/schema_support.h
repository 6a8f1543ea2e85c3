#pragma once

#include "store/data_store.h"

#include <QStringList>
#include <QTemporaryDir>

namespace fb {
class Attachment;
}

// Shared by the schema, new-book and upgrade tests.
namespace schematest {

// The default templates of the source tree.
QString templatesFolder();

// The creation script, and its part before the indexes of 2.08: a book at version 2.07.
QString newDatabaseScript();
QString level207Script();

// Runs a script text with the interpreter, without a console.
void runScript(fb::Attachment& database, const QString& script);

// A new database file at path, attached.
void createDatabase(fb::Attachment& database, const QString& path);

// Tables with their columns, keys, indexes, triggers with their source, exceptions with their
// texts and generators with their values, one line each, in a fixed order.
QStringList schemaSnapshot(fb::Attachment& database);

// The rows of PRINTFORMS as "PRKEY|LTYP|NAME|EXT|size|checksum".
QStringList printForms(fb::Attachment& database);

// Every row of a select, its columns as trimmed text joined by "|".
QStringList rows(fb::Attachment& database, const QString& sql);

// One value of a one-row query, as text.
QString value(fb::Attachment& database, const QString& sql);

// A temporary folder with the data store on an INI file in it.
class Workplace {
public:
    Workplace();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString folder() const { return m_dir.path(); }
    DataStore& store() { return m_store; }

private:
    QTemporaryDir m_dir;
    DataStore m_store;
};

// A place with two books listed already, so that a new one is appended behind them.
struct ListedPlace {
    Workplace place;
    QString books = place.path("books");
    ListedPlace();
    // The INI's value of key in section "DB", "-" when there is none.
    QString ini(const QString& key);
    // The files and folders left in the books folder, one level of folders deep.
    QStringList filesLeft();
};

// The rows of PRINTFORMS of the book at path, as printForms gives them.
QStringList forms(const QString& path);

} // namespace schematest
