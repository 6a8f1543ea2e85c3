#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <sys/types.h>

namespace testsupport {

// Another copy of the program in the middle of writing a file beside target, named as
// ReplacementFile names it: the test program part_writer (tests/core) at program. It writes on
// while the object lives, unless it is killed; then it ends by itself and removes its file.
class PartWriter {
public:
    PartWriter(const QString& program, const QString& target) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, {target});
        if (m_process.waitForStarted() && m_process.waitForReadyRead(10000))
            m_part = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~PartWriter() { finish(); }
    PartWriter(const PartWriter&) = delete;
    PartWriter& operator=(const PartWriter&) = delete;

    // The file it writes; empty when it could not begin one.
    const QString& part() const { return m_part; }
    qint64 processId() const { return m_process.processId(); }
    // Killed as a crash or a power cut ends a program: its file stays behind.
    bool kill() {
        if (::kill(pid_t(m_process.processId()), SIGKILL) != 0)
            return false;
        return m_process.waitForFinished();
    }
    // Told to stop; it ends without finishing its file.
    void finish() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
    QString m_part;
};

} // namespace testsupport
