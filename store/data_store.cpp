#include "store/data_store.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "core/ini_file.h"
#include "core/key_value_text.h"
#include "core/version.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/database_location.h"
#include "platform/firebird/error.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/store_feedback.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cmath>

namespace {

DataStore* g_instance = nullptr;

QString& requiredDatabaseVersionText() {
    static QString version = QString::fromLatin1(kProgramVersion);
    return version;
}

QString executableBase() {
    const QString exe = QCoreApplication::applicationFilePath();
    const QFileInfo info(exe);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

// Whole days between two date-times, to the nearest millisecond: a part of a day does not count.
qint64 daysBetween(DateTime a, DateTime b) {
    return qint64(std::trunc(std::fabs(a - b) + 0.5 / datetime::kMsPerDay));
}

// How long the user's data waits for a row another copy of the program holds, all tries
// together.
constexpr auto kUserDataWait = std::chrono::seconds(10);

// A backup of an open book whose file is gone. The engine does not open its own descriptor by
// that path (it follows the link to the removed name), so the backup is made from a copy of the
// open file, beside the backup, that goes when the backup is made.
void backUpOpenFile(const QString& openFile, const QString& backupFile) {
    ReplacementFile copy(backupFile + QStringLiteral(".fdb"));
    copy.writeFrom(openFile);
    fb::services::backup(copy.path(), backupFile);
}

} // namespace

QString DataStore::backupFolder(BackupKind kind) {
    switch (kind) {
    case BackupKind::Yesterday:
        return QStringLiteral("Yesterday");
    case BackupKind::Week:
        return QStringLiteral("Week");
    default:
        return QStringLiteral("Reserv");
    }
}

DataStore::DataStore(const QString& iniPath, QObject* parent)
    : QObject(parent),
      m_ini(std::make_unique<IniFile>(iniPath.isEmpty() ? programIniPath() : iniPath)),
      m_database(std::make_unique<fb::Attachment>()),
      m_transaction(std::make_unique<fb::Transaction>(*m_database)),
      m_query(std::make_unique<fb::Statement>(*m_transaction)) {
    setObjectName(QStringLiteral("dataStore"));
    m_helpFile = executableBase() + QStringLiteral(".chm");
    g_instance = this;
}

DataStore::~DataStore() {
    if (g_instance == this)
        g_instance = nullptr;
}

DataStore& DataStore::instance() {
    if (!g_instance)
        throw Exception(QStringLiteral("Хранилище данных не создано."));
    return *g_instance;
}

QString DataStore::programVersion() {
    return QString::fromLatin1(kProgramVersion);
}

QString DataStore::requiredDatabaseVersion() {
    return requiredDatabaseVersionText();
}

void DataStore::setRequiredDatabaseVersion(const QString& version) {
    requiredDatabaseVersionText() = version;
}

void DataStore::makeFirstBackups() {
    for (BackupKind kind : kBackupKinds) {
        const QString target = backupPath(m_book.path(), backupFolder(kind));
        if (!target.isEmpty())
            removeLeftoverParts(target);
        if (!QFileInfo::exists(target))
            makeBackup(kind, QString(), true);
    }
}

void DataStore::openBook() {
    m_database->attach(m_book.path());
}

QString DataStore::databaseName() const {
    return m_database->isAttached() ? m_database->path() : m_book.path();
}

void DataStore::closeAndBackup() {
    const BookOptions bookOptions = options();
    const bool flags[3] = {bookOptions.reservBackupFlag(), bookOptions.yesterdayBackupFlag(),
                           bookOptions.weekBackupFlag()};
    const QString path = databaseName();
    m_query->close();
    if (m_database->fileReplaced()) {
        // Nothing but the open book holds what was saved in it: it is backed up before it
        // closes, the "Reserv" backup whatever the options say.
        QStringList made;
        for (BackupKind kind : kBackupKinds)
            if (flags[int(kind)] || kind == BackupKind::Reserv)
                if (const QString backup = makeBackupFile(kind, path, false); !backup.isEmpty())
                    made << backup;
        m_database->detach();
        sayBookFileGone(path, made);
        return;
    }
    m_database->detach();
    if (fb::DatabaseLocation(path).onServer()) {
        if ((flags[0] || flags[1] || flags[2]) && backupsSwitchedOn())
            sayNoServerBackups(path);
        return;
    }
    for (BackupKind kind : kBackupKinds)
        if (flags[int(kind)])
            makeBackup(kind, path, false);
}

int DataStore::newKey(const QString& table) {
    fb::Statement& q = *m_query;
    q.close();
    q.prepare(QStringLiteral("SELECT GEN_ID(%1_PRKEY_GEN,1)\nFROM RDB$DATABASE").arg(table),
              fb::ParamMode::Untouched);
    q.execute();
    q.fetch();
    const int key = int(q.field(0).asInteger());
    q.close();
    m_transaction->commit();
    return key;
}

QString DataStore::fieldValue(const QString& table, const QString& field, int key) {
    fb::Transaction tr(*m_database, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr);
    q.prepare(QStringLiteral("SELECT %1\nFROM %2\nWHERE PRKEY=:PRKEY").arg(field, table));
    q.param(QStringLiteral("PRKEY")).setInteger(key);
    q.execute();
    const QString value = q.fetch() ? q.field(0).asString() : QString();
    q.close();
    tr.commit();
    return value;
}

std::unique_ptr<fb::DataSet> DataStore::createQuery() {
    return std::make_unique<fb::DataSet>(*m_database);
}

void DataStore::postAndCommit(fb::DataSet& dataSet) {
    if (dataSet.state() == fb::DataSetState::Edit || dataSet.state() == fb::DataSetState::Insert)
        dataSet.post();
    try {
        dataSet.applyUpdates();
        dataSet.commitRetaining();
        dataSet.cancelUpdates();
    } catch (...) {
        try {
            dataSet.rollbackRetaining();
        } catch (...) {
        }
        feedback().tell(QStringLiteral("Не могу сохранить введенные данные!"), QString(),
                        StoreFeedback::Notice::Plain);
        throw;
    }
}

void DataStore::editIfBrowsing(fb::DataSet& dataSet) {
    if (dataSet.state() != fb::DataSetState::Edit && dataSet.state() != fb::DataSetState::Insert)
        dataSet.edit();
}

void DataStore::loadUserData() {
    m_userData1 = fieldValue("USERS", "DATA1", m_userKey);
    m_loadedUserData1 = m_userData1;
}

void DataStore::saveUserData() {
    feedback().wait([this] {
        const QDeadlineTimer deadline(kUserDataWait);
        for (;;) {
            try {
                writeUserData();
                return;
            } catch (const fb::Error& error) {
                // The other copy's save has ended meanwhile: read what it stored, and write again.
                if (!error.isLockConflict() || deadline.hasExpired())
                    throw;
            }
        }
    });
}

void DataStore::writeUserData() {
    fb::Transaction transaction(*m_database, fb::TransactionKind::WriteWaiting);
    fb::Statement read(transaction);
    read.prepare(QStringLiteral("SELECT DATA1 FROM USERS\nWHERE PRKEY=:PRKEY\nWITH LOCK"));
    read.param(QStringLiteral("PRKEY")).setInteger(m_userKey);
    read.execute();
    if (!read.fetch()) {
        read.close();
        transaction.commit();
        return;
    }
    const QString data =
        mergeKeyValueChanges(read.field(0).asString(), m_loadedUserData1, m_userData1);
    read.close();
    fb::Statement write(transaction);
    write.prepare(QStringLiteral("UPDATE USERS\nSET DATA1=:DATA1\nWHERE PRKEY=:PRKEY"));
    write.param(QStringLiteral("PRKEY")).setInteger(m_userKey);
    write.param(QStringLiteral("DATA1")).setString(data);
    write.execute();
    transaction.commit();
    m_userData1 = data;
    m_loadedUserData1 = data;
}

QString DataStore::backupPath(const QString& databasePath, const QString& folder) {
    if (fb::DatabaseLocation(databasePath).onServer())
        return QString();
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1Char('/') + folder + QLatin1Char('/') +
           info.completeBaseName() + QStringLiteral(".gbk");
}

bool DataStore::backupDue(BackupKind kind, DateTime fileDate, DateTime now) {
    switch (kind) {
    case BackupKind::Yesterday:
        return daysBetween(now, fileDate) > 0;
    case BackupKind::Week:
        return daysBetween(now, fileDate) / 7 > 0;
    default:
        return true;
    }
}

bool DataStore::backupsSwitchedOn() const {
    return m_ini->readBool(QStringLiteral("DB"), QStringLiteral("Backup"), true);
}

QString DataStore::backupSource(const QString& database) const {
    if (m_database->isAttached() && database == m_database->path() && m_database->fileReplaced())
        return m_database->openFilePath();
    return QFileInfo::exists(database) ? database : QString();
}

void DataStore::makeBackup(BackupKind kind, const QString& path, bool silent) {
    const QString backup = makeBackupFile(kind, path, silent);
    if (!backup.isEmpty() && !silent)
        sayBookFileGone(path.isEmpty() ? databaseName() : path, {backup});
}

QString DataStore::makeBackupFile(BackupKind kind, const QString& path, bool silent) {
    const QString database = path.isEmpty() ? databaseName() : path;
    const QString source = database.isEmpty() ? QString() : backupSource(database);
    const bool fromOpenFile = !source.isEmpty() && source != database;
    // The backup of an open book whose file is gone is the one copy of what was saved in it.
    if (!backupsSwitchedOn() && !fromOpenFile)
        return {};
    if (fb::DatabaseLocation(database).onServer()) {
        if (!silent)
            sayNoServerBackups(database);
        return {};
    }
    if (source.isEmpty())
        return {};
    const QString folder = backupFolder(kind);
    const QString target = backupPath(database, folder);
    // What a copy of the program killed while it made this backup left beside it.
    removeLeftoverParts(target);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() &&
        !backupDue(kind, datetime::encode(targetInfo.lastModified()), datetime::now())) {
        restrictPermissions(target, source);
        return {};
    }
    try {
        if (!QDir().mkpath(targetInfo.absolutePath()))
            throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"")
                                .arg(targetInfo.absolutePath()));
        ReplacementFile file(target);
        if (fromOpenFile)
            backUpOpenFile(source, file.path());
        else
            fb::services::backup(database, file.path());
        file.takeModeOf(source);
        file.commit();
    } catch (const Exception& e) {
        if (!silent)
            report(QStringLiteral("Не удалось создать архив базы данных! (") + folder +
                       QStringLiteral(")\n\n") + e.message(),
                   QStringLiteral("Ошибка архивации"), true);
        return {};
    }
    return fromOpenFile ? target : QString();
}

void DataStore::sayBookFileGone(const QString& path, const QStringList& backups) {
    QString text = QStringLiteral("Файл базы данных \"%1\" удален или заменен другим файлом, пока "
                                  "база данных была открыта.")
                       .arg(path);
    if (backups.isEmpty())
        text += QStringLiteral("\n\nАрхив открытой базы данных создать не удалось.");
    else
        text += QStringLiteral("\n\nВсе, что было сохранено в ней, записано в архив:\n") +
                backups.join(QLatin1Char('\n')) +
                QStringLiteral("\n\nВосстановить базу данных из архива можно в окне управления "
                               "базами данных.");
    report(text, QStringLiteral("Архивация"), backups.isEmpty());
}

// A book on a server has its file, and the folders its backups would go to, on the server's
// machine: this program cannot make them there.
void DataStore::sayNoServerBackups(const QString& path) {
    report(QStringLiteral("Архив базы данных не создан: база данных \"%1\" находится "
                          "на сервере, ее файл и папки архивов хранит сервер.\n\n"
                          "Архивы такой базы данных делает администратор сервера; "
                          "автоматическую архивацию этой базы данных можно "
                          "отключить в опциях.")
               .arg(path),
           QStringLiteral("Ошибка архивации"), false);
}

StoreFeedback& DataStore::feedback() const {
    return m_unattended ? StoreFeedback::log() : StoreFeedback::current();
}

void DataStore::report(const QString& text, const QString& caption, bool error) {
    feedback().tell(text, caption,
                    error ? StoreFeedback::Notice::Error : StoreFeedback::Notice::Warning);
}

void DataStore::reopenBook(const ChosenBook& book) {
    m_query->close();
    m_database->detach();
    m_book = book;
    m_database->attach(m_book.path());
}
