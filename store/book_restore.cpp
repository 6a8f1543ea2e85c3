#include "store/book_restore.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A file that is removed when the owner goes, whatever happened to it in between.
class TemporaryFile {
public:
    explicit TemporaryFile(QString path) : m_path(std::move(path)) {}
    ~TemporaryFile() { QFile::remove(m_path); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// True when another connection is attached to the database. A file that cannot be opened at all
// is taken as not in use: a damaged database is what a restore is for.
bool databaseInUse(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    fb::Attachment database;
    try {
        database.attach(path);
    } catch (const fb::Error&) {
        return false;
    }
    fb::Transaction transaction(database, fb::TransactionKind::ReadOnly);
    fb::Statement query(transaction,
                        QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS\n"
                                       "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION\n"
                                       "AND MON$SYSTEM_FLAG = 0"));
    query.execute();
    query.fetch();
    const bool inUse = query.field(0).asInteger() > 0;
    query.close();
    transaction.commit();
    return inUse;
}

} // namespace

void restoreBook(const QString& backup, const QString& path) {
    // A name of this restore's own: two copies of the program restoring at once never meet.
    TemporaryFile temporary(freshSiblingPath(path, QStringLiteral(".restore")));
    fb::services::restore(backup, temporary.path());
    if (databaseInUse(path))
        throw Exception(QStringLiteral("База данных используется другой программой. Закройте ее "
                                       "и повторите восстановление."));
    replaceFile(temporary.path(), path);
}
