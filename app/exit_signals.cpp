#include "app/exit_signals.h"

#include "core/exceptions.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kSignalCount = int(std::size(kSignals));

// What the handler does with a signal.
constexpr sig_atomic_t kEndAtOnce = 0;
constexpr sig_atomic_t kAskForExit = 1;

// Shared with the handler, which may touch nothing else.
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_action = kEndAtOnce;
struct sigaction g_previous[kSignalCount];

void endWithDefaultAction(int signalNumber) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    // Blocked while this handler runs: delivered, and the process ended, as it returns.
    raise(signalNumber);
}

void onSignal(int signalNumber) {
    if (g_action == kEndAtOnce) {
        endWithDefaultAction(signalNumber);
        return;
    }
    g_action = kEndAtOnce;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
}

// Makes onSignal the handler of the signals; previous, when given, receives the handlers that
// were there.
void installHandlers(struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals)
        sigaddset(&action.sa_mask, s);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &action, previous ? &previous[i] : nullptr);
}

} // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Exception(QStringLiteral("Не удалось создать канал для сигналов завершения."));
    g_action = kEndAtOnce;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::onPipeReadable);
    installHandlers(g_previous);
}

ExitSignals::~ExitSignals() {
    g_action = kEndAtOnce;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
    delete m_notifier;
    for (int& end : g_pipe) {
        close(end);
        end = -1;
    }
}

void ExitSignals::listen() {
    // The client library has put its own handler in front of these at its first attach: this
    // one alone handles the signals from now on, and the engine starts no shutdown of its own.
    installHandlers(nullptr);
    g_action = kAskForExit;
}

void ExitSignals::onPipeReadable() {
    char byte = 0;
    while (read(g_pipe[0], &byte, 1) > 0) {
    }
    emit exitRequested();
}
