#include "tests/support/core/small_file_system.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {

const char kFiller[] = "filler";

bool writeProcFile(const char* path, const QByteArray& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return written;
}

// A user namespace in which this user may mount, still as this user.
bool enterUserNamespace() {
    const QByteArray uid = QByteArray::number(uint(::getuid()));
    const QByteArray gid = QByteArray::number(uint(::getgid()));
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    writeProcFile("/proc/self/setgroups", "deny");
    return writeProcFile("/proc/self/uid_map", uid + ' ' + uid + " 1") &&
           writeProcFile("/proc/self/gid_map", gid + ' ' + gid + " 1");
}

// Entered before main(), while the program has one thread: the threads started later (the
// database engine's among them) are in it too.
class PrivateMounts {
public:
    PrivateMounts() {
        if (::unshare(CLONE_NEWNS) != 0 && !enterUserNamespace()) {
            m_unavailable = QStringLiteral("No mount namespace of its own: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            m_unavailable = QStringLiteral("The mounts cannot be made private: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    QString m_unavailable;
};

const PrivateMounts privateMounts;

} // namespace

QString SmallFileSystem::unavailable() {
    return privateMounts.m_unavailable;
}

SmallFileSystem::SmallFileSystem(qint64 bytes) : m_path(m_dir.filePath(QStringLiteral("disk"))) {
    const QByteArray path = QFile::encodeName(m_path);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (!unavailable().isEmpty() || ::mkdir(path.constData(), 0777) != 0 ||
        ::mount("tmpfs", path.constData(), "tmpfs", 0, options.constData()) != 0)
        qFatal("No small file system at %s: %s", path.constData(),
               unavailable().isEmpty() ? std::strerror(errno) : qPrintable(unavailable()));
    m_mounted = true;
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

void SmallFileSystem::fill(qint64 keep) {
    const QByteArray filler = QFile::encodeName(filePath(QLatin1String(kFiller)));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        qFatal("Cannot fill %s: %s", filler.constData(), std::strerror(errno));
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // Whole pages given back: a tmpfs counts its space so.
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const off_t giveBack = (keep + 4095) / 4096 * 4096;
    if (giveBack > 0 && ::ftruncate(fd, size > giveBack ? size - giveBack : 0) != 0)
        qFatal("Cannot give space back on %s: %s", filler.constData(), std::strerror(errno));
    ::close(fd);
}

void SmallFileSystem::release() {
    ::unlink(QFile::encodeName(filePath(QLatin1String(kFiller))).constData());
}

} // namespace testsupport
