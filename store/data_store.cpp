#include "store/data_store.h"

#include "core/exceptions.h"
#include "core/ini_file.h"
#include "core/text_helpers.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/services.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/book_chooser.h"
#include "shell/logon_dialog.h"
#include "shell/options_pane.h"
#include "shell/upgrade_window.h"
#include "store/upgrade_steps.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStyle>
#include <cmath>

DataStore* dtmdlDataStoreProto = nullptr;
QString programVersionText = QStringLiteral("2.18");

namespace {

QString executableBase() {
    const QString exe = QCoreApplication::applicationFilePath();
    const QFileInfo info(exe);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

// Whole days between two date-times, as the classic DaysBetween counts them.
qint64 daysBetween(DateTime a, DateTime b) {
    return qint64(std::trunc(std::fabs(a - b) + 0.5 / datetime::kMsPerDay));
}

} // namespace

QIcon DataStore::toolImage(int index) {
    struct Image {
        int index;
        const char* theme;
        QStyle::StandardPixmap fallback;
    };
    // Every tool bar's 32x32 images, by index: the desktop's icon theme first, the style's own
    // icons where the theme has none.
    static const Image images[] = {
        {0, "x-office-spreadsheet", QStyle::SP_FileDialogDetailedView},
        {1, "document-new", QStyle::SP_FileIcon},
        {2, "go-down", QStyle::SP_ArrowDown},
        {3, "go-up", QStyle::SP_ArrowUp},
        {5, "help-browser", QStyle::SP_DialogHelpButton},
        {6, "application-exit", QStyle::SP_DialogCloseButton},
        {7, "preferences-system", QStyle::SP_FileDialogListView},
        {8, "document-open", QStyle::SP_DialogOpenButton},
        {11, "window-close", QStyle::SP_DialogCloseButton},
        {12, "document-open", QStyle::SP_DialogOpenButton},
        {16, "help-contextual", QStyle::SP_TitleBarContextHelpButton},
        {17, "help-browser", QStyle::SP_DialogHelpButton},
        {20, "drive-harddisk", QStyle::SP_DriveHDIcon},
        {21, "go-jump", QStyle::SP_ArrowRight},
    };
    for (const Image& image : images)
        if (image.index == index)
            return QIcon::fromTheme(QString::fromLatin1(image.theme),
                                    QApplication::style()->standardIcon(image.fallback));
    return QIcon();
}

QString DataStore::backupFolder(int kind) {
    switch (kind) {
    case Yesterday:
        return QStringLiteral("Yesterday");
    case Week:
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
    setObjectName(QStringLiteral("dtmdlDataStoreProto"));
    m_helpFile = executableBase() + QStringLiteral(".chm");
    dtmdlDataStoreProto = this;
}

DataStore::~DataStore() {
    if (dtmdlDataStoreProto == this)
        dtmdlDataStoreProto = nullptr;
}

StartupEnd DataStore::runStartup(UpgradeSteps& steps) {
    return runStartup(steps, QCoreApplication::arguments().value(1));
}

StartupEnd DataStore::runStartup(UpgradeSteps& steps, const QString& firstParam) {
    try {
        return runStartupSteps(steps, firstParam);
    } catch (...) {
        showCurrentException();
        return StartupEnd::EndNow;
    }
}

StartupEnd DataStore::runStartupSteps(UpgradeSteps& steps, const QString& firstParam) {
    if (m_database->isAttached())
        throw Exception(QStringLiteral("Database already connected!\nCheck Active property of "
                                       "dtmdlDataStoreProto.dbMain!"));
    dtmdlDataStoreProto = this;
    if (UpgradeWindow::hasVersionChanged(*m_ini)) {
        UpgradeWindow::showModalUpgrade(steps, nullptr);
        return StartupEnd::Terminate;
    }
    QString path;
    if (!BookChooser::choose(firstParam, path, m_storeIndex))
        return StartupEnd::EndNow;
    m_databaseName = path;
    makeFirstBackups();
    if (!openDatabase())
        return StartupEnd::EndNow;
    // A book older than the program needs is offered the upgrade; either answer ends the program.
    if (!UpgradeWindow::upgradeOpenDatabase(steps, nullptr))
        return StartupEnd::Terminate;
    m_userKey = 0;
    if (!LogonDialog::logon())
        return StartupEnd::Terminate;
    loadUserData();
    return StartupEnd::GoOn;
}

void DataStore::makeFirstBackups() {
    for (int kind = Reserv; kind <= Week; ++kind) {
        const QString folder = backupFolder(kind);
        if (!QFileInfo::exists(backupPath(m_databaseName, folder)))
            makeBackup(folder, kind, QString(), true);
    }
}

bool DataStore::openDatabase() {
    try {
        m_database->attach(m_databaseName);
        return true;
    } catch (const Exception& e) {
        dialogs::showMessage(QStringLiteral("Не удалось подключиться к базе данных."));
        dialogs::showMessage(QStringLiteral("Возникла ошибка:\n\n") + e.message());
        return false;
    }
}

QString DataStore::databaseName() const {
    return m_database->isAttached() ? m_database->path() : m_databaseName;
}

void DataStore::closeAndBackup() {
    const bool flags[3] = {OptionsPane::reservBackupFlag(), OptionsPane::yesterdayBackupFlag(),
                           OptionsPane::weekBackupFlag()};
    const QString path = databaseName();
    m_query->close();
    m_database->detach();
    for (int kind = Reserv; kind <= Week; ++kind)
        if (flags[kind])
            makeBackup(backupFolder(kind), kind, path, false);
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

QString DataStore::dateFieldText(const QVariant& value) {
    if (value.isNull())
        return QString();
    const QDate date = value.typeId() == QMetaType::QDateTime
                           ? value.toDateTime().date()
                           : datetime::decodeDate(value.toDouble());
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString DataStore::programVersion() const {
    return programVersionText;
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
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1Char('/') + folder + QLatin1Char('/') +
           info.completeBaseName() + QStringLiteral(".gbk");
}

bool DataStore::backupDue(int kind, DateTime fileDate, DateTime now) {
    switch (kind) {
    case Yesterday:
        return daysBetween(now, fileDate) > 0;
    case Week:
        return daysBetween(now, fileDate) / 7 > 0;
    default:
        return true;
    }
}

void DataStore::makeBackup(const QString& folder, int kind, const QString& path, bool silent) {
    if (!m_ini->readBool(QStringLiteral("DB"), QStringLiteral("Backup"), true))
        return;
    const QString database = path.isEmpty() ? databaseName() : path;
    if (database.isEmpty() || !QFileInfo::exists(database))
        return;
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
                                QStringLiteral("Ошибка архивации"), MB_ICONERROR);
    }
}

void DataStore::reopenDatabase(const QString& path) {
    m_query->close();
    m_database->detach();
    m_databaseName = path;
    m_database->attach(path);
}
