#include "paneTestSupport.h"

#include "platform/IniFile.h"
#include "platform/firebird/fbEmbedded.h"
#include "store/uNewDatabase.h"

#include <QDir>
#include <QTest>

TPaneMachine::TPaneMachine(int ownerType, const QString& name, bool firstStart)
    : ini(dir.filePath(QStringLiteral("kaltro.ini"))) {
    fb::prepareEmbeddedEngine();
    book = addBook(ownerType, name);
    TIniFile settings(ini);
    settings.WriteString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                         QStringLiteral("2.18"));
    settings.WriteInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"),
                          firstStart ? 0 : 1);
}

TPaneMachine::~TPaneMachine() {
    if (main)
        main->close();
    main.reset();
}

QString TPaneMachine::addBook(int ownerType, const QString& name) {
    TdtmdlDataStoreProto store(ini);
    return CreateNewBook(ownerType, name, dir.path(), QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR));
}

TfrmMain& TPaneMachine::start() {
    main = std::make_unique<TfrmMain>(ini);
    if (main->FormCreate() != StartupEnd::GoOn)
        qFatal("the main window did not start");
    main->show();
    return *main;
}
