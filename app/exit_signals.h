#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (log-out, shutdown, Ctrl+C, a closed terminal) turned into the Qt
// signal exitRequested on the GUI thread, so that the program ends on its own exit path. The
// handler only writes a byte to a pipe that the event loop watches. A signal that comes before
// listen, after the exit has been asked for once, or when no ExitSignals lives, takes its
// default action and ends the process at once.
//
// One object at a time; it puts the handlers back as they were when it is destroyed. Create it
// before the first database attach: the client library then chains these handlers behind its
// own (see fb::refuseSignalShutdown).
class ExitSignals : public QObject {
    Q_OBJECT
public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    // From now on the first of the signals is turned into exitRequested; these handlers alone
    // take the signals again, in place of any installed since (the client library's).
    void listen();

signals:
    void exitRequested();

private slots:
    void onPipeReadable();

private:
    QSocketNotifier* m_notifier = nullptr;
};
