#include "app/program.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/engine_shutdown.h"
#include "platform/process_heap.h"
#include "ui/guard.h"

int main(int argc, char** argv) {
    keepFreedHeap();
    // The embedded engine reads its set-up once, before the first database call.
    fb::prepareEmbeddedEngine();
    // The program ends on its own exit path when it gets a signal; the engine must not close
    // the books under it.
    fb::refuseSignalShutdown();
    GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Kaltro"));
    useRussianLocale();
    loadQtTranslations();
    const int exitCode = runProgram(iniPathFromEnvironment());
    fb::shutDownEngine();
    return exitCode;
}
