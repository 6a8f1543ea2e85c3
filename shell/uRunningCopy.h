#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Running copies of the program find each other by the book they have open. Each copy listens
// on a local socket whose name comes from a hash of its book's canonical path (and the user), so
// that another copy can ask it to bring its window to the front.
class TRunningCopy : public QObject {
    Q_OBJECT
public:
    explicit TRunningCopy(QObject* parent = nullptr);
    ~TRunningCopy() override;

    // The socket name of the copy that has bookPath open.
    static QString ServerName(const QString& bookPath);

    // Starts answering for bookPath. A socket left behind by a copy that has ended is taken
    // over; false when another live copy already answers for that book (it is the one others
    // will raise) or the socket cannot be made.
    bool Listen(const QString& bookPath);
    bool IsListening() const;

    // Asks the copy that has bookPath open to raise its window; false when none answered.
    static bool AskToRaise(const QString& bookPath);

signals:
    // Another copy asked this one to show its window.
    void raiseRequested();

private:
    void acceptConnection();

    QLocalServer* m_server;
};
