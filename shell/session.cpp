#include "shell/session.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "shell/book_chooser.h"
#include "shell/book_upgrade.h"
#include "shell/logon_dialog.h"
#include "shell/running_copy.h"
#include "shell/upgrade_window.h"
#include "store/book_list.h"
#include "store/data_store.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr int kCaptionLength = 128;

} // namespace

Session::Session(const QString& iniPath, QObject* parent)
    : QObject(parent), m_store(std::make_unique<DataStore>(iniPath)),
      m_copyProgram(QCoreApplication::applicationFilePath()) {}

Session::~Session() = default;

const ChosenBook& Session::book() const {
    return m_store->book();
}

// ---- The start-up ----

StartupEnd Session::start() {
    return start(QCoreApplication::arguments().value(1));
}

StartupEnd Session::start(const QString& firstParam) {
    StartupEnd end = StartupEnd::EndNow;
    try {
        end = runStartup(firstParam);
    } catch (...) {
        showCurrentException();
    }
    m_running = end == StartupEnd::GoOn;
    return end;
}

StartupEnd Session::runStartup(const QString& firstParam) {
    if (m_store->database().isAttached())
        throw Exception(QStringLiteral("Database already connected!\nCheck Active property of "
                                       "dtmdlDataStoreProto.dbMain!"));
    if (BookUpgrade::programVersionChanged(m_store->ini())) {
        UpgradeWindow(m_upgradeSteps).exec();
        return StartupEnd::Terminate;
    }
    const ChosenBook book = BookChooser::choose(firstParam);
    if (book.isNone())
        return StartupEnd::EndNow;
    m_store->chooseBook(book);
    m_store->makeFirstBackups();
    if (!openBook())
        return StartupEnd::EndNow;
    // A book older than the program needs is offered the upgrade; either answer ends the program.
    if (!BookUpgrade(m_upgradeSteps).upgradeOpenBookWhenOlder())
        return StartupEnd::Terminate;
    m_store->setUserKey(0);
    if (!LogonDialog::logon())
        return StartupEnd::Terminate;
    m_store->loadUserData();
    loadBookCaptions();
    return StartupEnd::GoOn;
}

bool Session::openBook() {
    try {
        m_store->openBook();
        return true;
    } catch (const Exception& e) {
        dialogs::showMessage(QStringLiteral("Не удалось подключиться к базе данных."));
        dialogs::showMessage(QStringLiteral("Возникла ошибка:\n\n") + e.message());
        return false;
    }
}

void Session::answerOtherCopies() {
    if (!m_runningCopy) {
        m_runningCopy = new RunningCopy(this);
        connect(m_runningCopy, &RunningCopy::raiseRequested, this, &Session::raiseRequested);
    }
    m_runningCopy->listen(m_store->databaseName());
}

// ---- The switch between books ----

void Session::loadBookCaptions() {
    const BookList books(m_store->ini());
    m_bookCaptions.clear();
    for (int i = 0; i < books.count(); ++i)
        m_bookCaptions << books.caption(i).left(kCaptionLength);
}

void Session::switchToBook(int index) {
    const QString path = BookList(m_store->ini()).path(index);
    if (BookList::sameBook(path, m_store->databaseName())) {
        emit raiseRequested();
        return;
    }
    if (!path.isEmpty() && RunningCopy::askToRaise(path))
        return;
    const QStringList arguments{QStringLiteral("B%1").arg(index + 1)};
    if (!QProcess::startDetached(m_copyProgram, arguments))
        dialogs::messageBox(QApplication::activeWindow(),
                            QStringLiteral("Не удалось запустить программу \"%1\" для базы данных "
                                           "\"%2\".")
                                .arg(m_copyProgram, m_bookCaptions.value(index)),
                            QStringLiteral("Ошибка"), Buttons::Ok, MessageIcon::Error);
}

// ---- The end ----

void Session::finish(bool unattended) {
    if (!m_running)
        return;
    m_running = false;
    m_unattended = unattended;
    m_store->setUnattended(unattended);
    bool connectionLost = false;
    runReporting([&] {
        try {
            m_store->saveUserData();
        } catch (const fb::Error& error) {
            connectionLost = error.isConnectionLost();
            throw;
        }
    });
    emit closingBook();
    // The extra folder is an option of the book: read it while the book is still open. A lost
    // connection has been reported once; the steps that need it are not tried again aloud.
    QString extraFolder;
    if (!connectionLost)
        runReporting([&] { extraFolder = m_store->options().extraBackupFolder().trimmed(); });
    const QString bookFolder = QFileInfo(m_store->databaseName()).absolutePath();
    if (connectionLost)
        runLogged([this] { m_store->closeAndBackup(); });
    else
        runReporting([this] { m_store->closeAndBackup(); });
    for (BackupKind kind : kBackupKinds)
        copyBackupFolder(DataStore::backupFolder(kind), extraFolder, bookFolder);
}

// The kind's backup folder of the open book goes to the extra folder of the options.
void Session::copyBackupFolder(const QString& kindFolder, const QString& extraFolder,
                               const QString& bookFolder) {
    if (extraFolder.isEmpty())
        return;
    const QString destination = QDir(extraFolder).filePath(kindFolder) + QLatin1Char('/');
    const QString source = QDir(bookFolder).filePath(kindFolder) + QLatin1Char('/');
    if (!QFileInfo(destination).isDir() && !QDir().mkdir(destination)) {
        const QString message = QStringLiteral("Не удается создать каталог: ") + destination;
        if (m_unattended)
            qWarning("%s", qUtf8Printable(message));
        else
            showWarning(QApplication::activeWindow(), message);
        return;
    }
    if (QFileInfo(source).isDir())
        runReporting([&] { copyFolder(source, destination); });
}

bool Session::runReporting(const std::function<void()>& action) {
    return m_unattended ? runLogged(action) : runGuarded(action);
}
