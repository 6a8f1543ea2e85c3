#include "shell/uProgram.h"

#include "shell/fmMain.h"
#include "util/uGuard.h"

#include <QApplication>

int RunProgram(const QString& iniPath) {
    TfrmMain main(iniPath);
    StartupEnd end = StartupEnd::EndNow;
    if (!runGuarded([&] { end = main.FormCreate(); }))
        return 1;
    if (end != StartupEnd::GoOn)
        return 0;
    main.show();
    return QApplication::exec();
}

QString IniPathFromEnvironment() {
    return qEnvironmentVariable("KALTRO_INI");
}
