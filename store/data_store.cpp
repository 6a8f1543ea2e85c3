#include "store/data_store.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_list.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

DataStore* g_instance = nullptr;

QString& programVersionText() {
    static QString version = QStringLiteral("2.18");
    return version;
}

QString& requiredDatabaseVersionText() {
    static QString version = QStringLiteral("2.18");
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

// A book on a server has its file, and the folders its backups would go to, on the server's
// machine: this program cannot make them there.
void sayNoServerBackups(const QString& path) {
    dialogs::messageBox(QApplication::activeWindow(),
                        QStringLiteral("Архив базы данных не создан: база данных \"%1\" находится "
                                       "на сервере, ее файл и папки архивов хранит сервер.\n\n"
                                       "Архивы такой базы данных делает администратор сервера; "
                                       "автоматическую архивацию этой базы данных можно "
                                       "отключить в опциях.")
                            .arg(path),
                        QStringLiteral("Ошибка архивации"), Buttons::Ok, MessageIcon::Warning);
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
    return programVersionText();
}

void DataStore::setProgramVersion(const QString& version) {
    programVersionText() = version;
}

QString DataStore::requiredDatabaseVersion() {
    return requiredDatabaseVersionText();
}

void DataStore::setRequiredDatabaseVersion(const QString& version) {
    requiredDatabaseVersionText() = version;
}

void DataStore::chooseBook(const QString& path, int bookIndex) {
    m_databaseName = path;
    m_bookIndex = bookIndex;
}

void DataStore::makeFirstBackups() {
    for (BackupKind kind : kBackupKinds)
        if (!QFileInfo::exists(backupPath(m_databaseName, backupFolder(kind))))
            makeBackup(kind, QString(), true);
}

void DataStore::openBook() {
    m_database->attach(m_databaseName);
}

QString DataStore::databaseName() const {
    return m_database->isAttached() ? m_database->path() : m_databaseName;
}

void DataStore::closeAndBackup() {
    const BookOptions bookOptions = options();
    const bool flags[3] = {bookOptions.reservBackupFlag(), bookOptions.yesterdayBackupFlag(),
                           bookOptions.weekBackupFlag()};
    const QString path = databaseName();
    m_query->close();
    m_database->detach();
    if (BookList::isServerPath(path)) {
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
        dialogs::showMessage(QStringLiteral("Не могу сохранить введенные данные!"));
        throw;
    }
}

void DataStore::editIfBrowsing(fb::DataSet& dataSet) {
    if (dataSet.state() != fb::DataSetState::Edit && dataSet.state() != fb::DataSetState::Insert)
        dataSet.edit();
}

void DataStore::loadUserData() {
    m_userData1 = fieldValue("USERS", "DATA1", m_userKey);
}

void DataStore::saveUserData() {
    execWithSQLWaitCursor([this] {
        fb::Statement& q = *m_query;
        q.close();
        q.prepare(QStringLiteral("UPDATE USERS\nSET DATA1=:DATA1\nWHERE PRKEY=:PRKEY"),
                  fb::ParamMode::Named);
        q.param(QStringLiteral("PRKEY")).setInteger(m_userKey);
        q.param(QStringLiteral("DATA1")).setString(m_userData1);
        m_transaction->ensureStarted();
        q.execute();
        m_transaction->commit();
    });
}

QString DataStore::backupPath(const QString& databasePath, const QString& folder) {
    if (BookList::isServerPath(databasePath))
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

void DataStore::makeBackup(BackupKind kind, const QString& path, bool silent) {
    if (!backupsSwitchedOn())
        return;
    const QString database = path.isEmpty() ? databaseName() : path;
    if (BookList::isServerPath(database)) {
        if (!silent)
            sayNoServerBackups(database);
        return;
    }
    if (database.isEmpty() || !QFileInfo::exists(database))
        return;
    const QString folder = backupFolder(kind);
    const QString target = backupPath(database, folder);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() &&
        !backupDue(kind, datetime::encode(targetInfo.lastModified()), datetime::now()))
        return;
    const QString temporary = target + QStringLiteral(".tmp");
    try {
        if (!QDir().mkpath(targetInfo.absolutePath()))
            throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"")
                                .arg(targetInfo.absolutePath()));
        QFile::remove(temporary);
        fb::services::backup(database, temporary);
        replaceFile(temporary, target);
    } catch (const Exception& e) {
        QFile::remove(temporary);
        if (!silent)
            dialogs::messageBox(QApplication::activeWindow(),
                                QStringLiteral("Не удалось создать архив базы данных! (") + folder +
                                    QStringLiteral(")\n\n") + e.message(),
                                QStringLiteral("Ошибка архивации"), Buttons::Ok,
                                MessageIcon::Error);
    }
}

void DataStore::reopenDatabase(const QString& path) {
    m_query->close();
    m_database->detach();
    m_databaseName = path;
    m_database->attach(path);
}
