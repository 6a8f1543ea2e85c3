#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A file system of its own, small enough to fill to the last byte: a tmpfs mounted on a fresh
// folder. It lives in the test program's own mount namespace, which a program linked with
// kaltro_test_mounts enters before main(), so nothing of it is seen outside the program and its
// child processes, and it goes with them whatever happens.
//
//   if (const QString why = SmallFileSystem::unavailable(); !why.isEmpty())
//       QSKIP(qPrintable(why));
//   SmallFileSystem disk(512 * 1024);
//   disk.fill();
class SmallFileSystem {
public:
    // bytes: its size, rounded up to whole pages.
    explicit SmallFileSystem(qint64 bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // Why no small file system can be made in this program; empty when one can.
    static QString unavailable();

    const QString& path() const { return m_path; }
    QString filePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

    // Takes the free space, all of it but about keep bytes, with a file of its own.
    void fill(qint64 keep = 0);
    // Gives the space that fill took back.
    void release();

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

} // namespace testsupport
