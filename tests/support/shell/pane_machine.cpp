#include "tests/support/shell/pane_machine.h"

#include "core/ini_file.h"
#include "platform/firebird/embedded_engine.h"
#include "store/new_book.h"

#include <QDir>
#include <QLabel>
#include <QTest>

ShellWindow::ShellWindow(const QString& iniPath) : MainWindowBase(iniPath) {
    setSplashCaption(QStringLiteral("Kaltro"));
}

QString ShellWindow::title() {
    return dataStore().programName() + QStringLiteral(": ") + dataStore().options().storeCaption();
}

StartupEnd ShellWindow::startSession() {
    const StartupEnd end = MainWindowBase::startSession();
    if (end != StartupEnd::GoOn)
        return end;
    setPaneTitle(dataStore().options().storeCaption());
    dataStore().setProgramName(QStringLiteral("Kaltro"));
    return end;
}

PaneMachine::PaneMachine(BookKind kind, const QString& name, bool firstStart)
    : ini(dir.filePath(QStringLiteral("kaltro.ini"))) {
    fb::prepareEmbeddedEngine();
    book = addBook(kind, name);
    IniFile settings(ini);
    settings.writeString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                         QStringLiteral("2.18"));
    settings.writeInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"),
                          firstStart ? 0 : 1);
}

PaneMachine::~PaneMachine() {
    if (main)
        main->close();
    main.reset();
}

QString PaneMachine::addBook(BookKind kind, const QString& name) {
    DataStore store(ini);
    return createNewBook(kind, name, dir.path(), QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR));
}

ShellWindow& PaneMachine::start() {
    main = std::make_unique<ShellWindow>(ini);
    if (main->runStartup() != StartupEnd::GoOn)
        qFatal("the main window did not start");
    main->show();
    return *main;
}
