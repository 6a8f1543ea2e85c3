#include "app/program.h"

#include "app/exit_signals.h"
#include "app/main_window.h"
#include "platform/work_folder.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "ui/guard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

int runProgram(const QString& iniPath) {
    // Files of prints and edits that a copy ended or crashed with, once their word processor
    // has ended too.
    removeStaleWorkFolders();
    // Installed before the start-up attaches the book; until the start-up has gone on, a
    // signal ends the program at once: there is nothing to save yet.
    ExitSignals exitSignals;
    MainWindow main(iniPath);
    // The unfinished book files of copies killed while they made a new book.
    runLogged([] { removeLeftoverNewBooks(DataStore::instance().ini()); });
    QObject::connect(&exitSignals, &ExitSignals::exitRequested, &main,
                     &MainWindowBase::closeUnattended);
    // Listening from the moment the start-up has gone on, before another copy can find this one.
    QObject::connect(&main, &MainWindowBase::startedUp, &exitSignals, &ExitSignals::listen);
    StartupEnd end = StartupEnd::EndNow;
    if (!runGuarded([&] { end = main.runStartup(); }))
        return 1;
    if (end != StartupEnd::GoOn)
        return 0;
    // Maximised: where no window manager maximises it, the window takes the whole screen itself.
    if (const QScreen* screen = main.screen())
        main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    return QApplication::exec();
}

QString iniPathFromEnvironment() {
    return qEnvironmentVariable("KALTRO_INI");
}

void useRussianLocale() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

bool loadQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
