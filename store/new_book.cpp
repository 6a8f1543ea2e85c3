#include "store/new_book.h"

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/file_operations.h"
#include "core/key_value_text.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/database_location.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "script/script_interpreter.h"
#include "store/book_list.h"
#include "store/carried_scripts.h"
#include "store/data_store.h"
#include "store/default_templates.h"
#include "store/store_feedback.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString executableFolder() {
    return QCoreApplication::applicationDirPath();
}

// The creation script on the new file, without a console: the file goes away on failure.
void runCreationScript(fb::Attachment& database) {
    StoreFeedback& feedback = StoreFeedback::current();
    feedback.wait([&] {
        ScriptInterpreter interpreter(database);
        interpreter.setFailureReport([&feedback](const QString& note) {
            feedback.tell(note, QString(), StoreFeedback::Notice::Plain);
        });
        interpreter.run(ScriptInterpreter::splitLines(carriedScript(QStringLiteral("SQL_NEWDB"))));
    });
}

void initNewDatabase(fb::Transaction& transaction, BookKind kind, const QString& name) {
    QString etc = setKeyValue(QString(), kStoreCaptionKey, name);
    etc = setKeyValue(etc, kBookVersionKey, DataStore::programVersion());
    fb::Statement q(transaction);
    q.prepare(QStringLiteral("UPDATE PARTS SET\n ETC=:ETC,\n LOWNER=:LOWNER\n WHERE PRKEY=:PRKEY"));
    q.param(QStringLiteral("PRKEY")).setInteger(kOwnerKey);
    q.param(QStringLiteral("ETC")).setString(etc);
    q.param(QStringLiteral("LOWNER")).setInteger(int(kind));
    q.execute();
}

// Detaches and removes a file that the command created; a failure here must not hide the first.
void dropNewFile(fb::Attachment& database, const QString& path) {
    try {
        database.detach();
    } catch (const Exception&) {
    }
    QFile::remove(path);
}

// Gives the complete book at partial the next free book name of folder; another copy of the
// program that takes a name meanwhile keeps its book, and this one takes the next name.
QString placeNewBook(const QString& partial, const QString& folder) {
    for (;;) {
        const QString path = nextDatabaseFileName(folder);
        if (renameWithoutReplacing(partial, path))
            return path;
    }
}

// The name beside which a book of folder is made (see createNewBook).
QString partialBookTarget(const QString& folder) {
    return QDir(folder).absoluteFilePath(QStringLiteral("Kaltro.fdb"));
}

// The three backups of the new file; returns the backup files that did not exist before.
QStringList makeFirstBackups(const QString& path) {
    QStringList made;
    for (BackupKind kind : kBackupKinds) {
        const QString target = DataStore::backupPath(path, DataStore::backupFolder(kind));
        const bool existed = QFileInfo::exists(target);
        DataStore::instance().makeBackup(kind, path, false);
        if (!existed && QFileInfo::exists(target))
            made << target;
    }
    return made;
}

} // namespace

QString defaultDatabasesFolder() {
    if (QFileInfo(executableFolder()).isWritable())
        return executableFolder() + QStringLiteral("/Databases");
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Databases");
}

QString nextDatabaseFileName(const QString& folder) {
    const QDir dir(folder);
    int max = 0;
    const QStringList names = dir.entryList({QStringLiteral("Kaltro*.fdb")},
                                            QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        bool ok = false;
        const int number = name.mid(6, name.size() - 10).toInt(&ok);
        if (ok && number > max)
            max = number;
    }
    return dir.absoluteFilePath(QStringLiteral("Kaltro%1.fdb").arg(max + 1));
}

QString createNewBook(BookKind kind, const QString& name, const QString& folder,
                      const QString& templatesFolder) {
    cp1251::encode(name); // a name the book cannot hold stops here, before anything is made
    const QString templates =
        templatesFolder.isEmpty() ? defaultTemplatesFolder() : templatesFolder;
    // The book is made under a name of its own and takes its final name only when complete: a
    // book cut short (a failure, a killed program) is never found under a book's name.
    const QString partial = freshSiblingPath(partialBookTarget(folder), QStringLiteral(".part"));

    fb::Attachment database;
    try {
        database.create(partial);
    } catch (...) {
        // The engine may leave a file it could not finish (a full disk); the name is this
        // command's own.
        QFile::remove(partial);
        throw;
    }
    QString path;
    try {
        runCreationScript(database);
        fb::Transaction transaction(database);
        initNewDatabase(transaction, kind, name);
        loadDefaultPrintForms(transaction, templates, true);
        transaction.commit();
        database.detach();
        path = placeNewBook(partial, folder);
    } catch (...) {
        dropNewFile(database, partial);
        throw;
    }

    const QStringList backups = makeFirstBackups(path);
    try {
        BookList(DataStore::instance().ini()).append(path, name);
    } catch (...) {
        QFile::remove(path);
        for (const QString& backup : backups)
            QFile::remove(backup);
        throw;
    }
    return path;
}

void removeLeftoverNewBooks(IniFile& ini) {
    QStringList folders{QDir::cleanPath(defaultDatabasesFolder())};
    for (const BookEntry& entry : BookList(ini).entries())
        if (!entry.path.isEmpty() && !fb::DatabaseLocation(entry.path).onServer())
            folders << QFileInfo(entry.path).absolutePath();
    folders.removeDuplicates();
    for (const QString& folder : folders)
        removeLeftoverParts(partialBookTarget(folder));
}
