// Gets an exit signal where the signal must end it at once, by that signal: before it listens
// (argument "before-listening"), or while it handles the first one (argument "second"). It says
// "survived" and ends with 0 when the signal does not end it.
#include "app/exit_signals.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ExitSignals exitSignals;
    if (app.arguments().value(1) == QLatin1String("before-listening")) {
        raise(SIGTERM);
        std::puts("survived");
        return 0;
    }
    QObject::connect(&exitSignals, &ExitSignals::exitRequested, [] {
        raise(SIGTERM);
        std::puts("survived");
        QCoreApplication::exit(0);
    });
    exitSignals.listen();
    raise(SIGINT);
    return QCoreApplication::exec();
}
