#include "app/program.h"
#include "platform/firebird/embedded_engine.h"
#include "ui/guard.h"

int main(int argc, char** argv) {
    // The embedded engine reads its set-up once, before the first database call.
    fb::prepareEmbeddedEngine();
    GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kaltro"));
    return runProgram(iniPathFromEnvironment());
}
