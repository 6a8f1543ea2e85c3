#include "tests/support/pane_machine.h"

#include "core/ini_file.h"
#include "platform/firebird/embedded_engine.h"
#include "store/new_book.h"

#include <QDir>
#include <QTest>

PaneMachine::PaneMachine(int ownerType, const QString& name, bool firstStart)
    : ini(dir.filePath(QStringLiteral("kaltro.ini"))) {
    fb::prepareEmbeddedEngine();
    book = addBook(ownerType, name);
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

QString PaneMachine::addBook(int ownerType, const QString& name) {
    DataStore store(ini);
    return createNewBook(ownerType, name, dir.path(), QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR));
}

MainWindow& PaneMachine::start() {
    main = std::make_unique<MainWindow>(ini);
    if (main->runStartup() != StartupEnd::GoOn)
        qFatal("the main window did not start");
    main->show();
    return *main;
}
