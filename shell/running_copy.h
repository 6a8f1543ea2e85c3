#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Running copies of the program find each other by the book they have open. Each copy listens
// on a local socket whose name comes from a hash of its book's canonical path (the path's text for
// a book on a server) and the user, so that another copy can ask it to bring its window to the
// front.
class RunningCopy : public QObject {
    Q_OBJECT
public:
    explicit RunningCopy(QObject* parent = nullptr);
    ~RunningCopy() override;

    // The socket name of the copy that has bookPath open.
    static QString serverName(const QString& bookPath);

    // Starts answering for bookPath. A socket left behind by a copy that has ended is taken
    // over; false when another live copy already answers for that book (it is the one others
    // will raise) or the socket cannot be made.
    bool listen(const QString& bookPath);
    bool isListening() const;

    // Asks the copy that has bookPath open to raise its window; false when none answered.
    static bool askToRaise(const QString& bookPath);

signals:
    // Another copy asked this one to show its window.
    void raiseRequested();

private slots:
    // Answers each new connection: a raise request is confirmed and signalled.
    void onNewConnection();

private:
    QLocalServer* m_server;
};
