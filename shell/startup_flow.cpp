#include "shell/startup_flow.h"

#include "core/exceptions.h"
#include "platform/firebird/attachment.h"
#include "shell/book_chooser.h"
#include "shell/logon_dialog.h"
#include "shell/upgrade_window.h"
#include "store/data_store.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QCoreApplication>

StartupEnd StartupFlow::run() {
    return run(QCoreApplication::arguments().value(1));
}

StartupEnd StartupFlow::run(const QString& firstParam) {
    try {
        return runSteps(firstParam);
    } catch (...) {
        showCurrentException();
        return StartupEnd::EndNow;
    }
}

StartupEnd StartupFlow::runSteps(const QString& firstParam) {
    if (m_store.database().isAttached())
        throw Exception(QStringLiteral("Database already connected!\nCheck Active property of "
                                       "dtmdlDataStoreProto.dbMain!"));
    if (UpgradeWindow::hasVersionChanged(m_store.ini())) {
        UpgradeWindow::showModalUpgrade(m_steps, nullptr);
        return StartupEnd::Terminate;
    }
    QString path;
    int bookIndex = 0;
    if (!BookChooser::choose(firstParam, path, bookIndex))
        return StartupEnd::EndNow;
    m_store.chooseBook(path, bookIndex);
    m_store.makeFirstBackups();
    if (!openBook())
        return StartupEnd::EndNow;
    // A book older than the program needs is offered the upgrade; either answer ends the program.
    if (!UpgradeWindow::upgradeOpenDatabase(m_steps, nullptr))
        return StartupEnd::Terminate;
    m_store.setUserKey(0);
    if (!LogonDialog::logon())
        return StartupEnd::Terminate;
    m_store.loadUserData();
    return StartupEnd::GoOn;
}

bool StartupFlow::openBook() {
    try {
        m_store.openBook();
        return true;
    } catch (const Exception& e) {
        dialogs::showMessage(QStringLiteral("Не удалось подключиться к базе данных."));
        dialogs::showMessage(QStringLiteral("Возникла ошибка:\n\n") + e.message());
        return false;
    }
}
