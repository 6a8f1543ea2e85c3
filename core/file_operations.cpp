#include "core/file_operations.h"

#include "core/exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString withSlash(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

QString quoted(const QString& s) {
    return u'"' + s + u'"';
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// A descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool statPath(const QString& path, struct stat& info) {
    return ::stat(encoded(path).constData(), &info) == 0;
}

// The permissions of a file like model for a file of the group gid: the group's only when the
// group is model's.
mode_t permissionsLike(const struct stat& model, gid_t gid) {
    mode_t mode = model.st_mode & 0777;
    if (gid != model.st_gid)
        mode &= ~mode_t(0070);
    return mode;
}

void copyOneFile(const QString& from, const QString& to) {
    try {
        ReplacementFile copy(to);
        copy.writeFrom(from);
        copy.takeModeOf(from);
        copy.commit();
    } catch (const FileError& error) {
        throw Exception(QStringLiteral("Не удается скопировать файл: ") + quoted(from) +
                        QStringLiteral(" -> ") + quoted(to) + u'\n' + error.reason() + u'\n' +
                        QStringLiteral("Закройте все программы, перезагрузите компьютер и "
                                       "попробуйте еще раз!"));
    }
}

// The fields of /proc/<pid>/stat from the process's state on (the third field); the program's
// name before them, in brackets, may hold spaces and brackets itself. Empty when the process
// is not there.
QList<QByteArray> processStatus(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    return line.mid(nameEnd + 2).split(' ');
}

// The moment the system started, in milliseconds since the epoch; 0 when it cannot be read.
qint64 bootTimeMs() {
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : stat.readAll().split('\n'))
        if (line.startsWith("btime "))
            return line.mid(6).trimmed().toLongLong() * 1000;
    return 0;
}

// The moment the process pid started, in milliseconds since the epoch, from its start time in
// clock ticks after the system's start (the 22nd field of its status); 0 when it cannot be read.
qint64 processStartMs(qint64 pid) {
    const QList<QByteArray> status = processStatus(pid);
    const qsizetype startField = 22 - 3;
    bool ok = false;
    const qint64 ticks = status.value(startField).toLongLong(&ok);
    const qint64 boot = bootTimeMs();
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (!ok || boot == 0 || ticksPerSecond <= 0)
        return 0;
    return boot + ticks * 1000 / ticksPerSecond;
}

// How much later than a file's last write a process must have started to be taken for another
// program than the file's writer: the system's clock may have been set meanwhile.
constexpr qint64 kClockSlackMs = 60 * 1000;

// Whether the writer pid of the file no longer runs: no process has its number, or the process
// that has it started after the file was last written.
bool writerEnded(qint64 pid, const QFileInfo& file) {
    if (!processRuns(pid))
        return true;
    const qint64 started = processStartMs(pid);
    return started > 0 && started > file.lastModified().toMSecsSinceEpoch() + kClockSlackMs;
}

// The writer's number in the name of a part (what follows target's name and "."); 0 when the
// name is no part's.
qint64 partWriter(const QString& rest) {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]+)-[A-Za-z0-9]{6}\\.part(\\..*)?$"));
    const QRegularExpressionMatch match = pattern.match(rest);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

} // namespace

QString fileErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("Недостаточно места на диске");
    case EDQUOT:
        return QStringLiteral("Превышена дисковая квота");
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет прав доступа");
    case EROFS:
        return QStringLiteral("Диск доступен только для чтения");
    case ENOENT:
        return QStringLiteral("Файл или каталог не найден");
    case ENOTDIR:
        return QStringLiteral("Часть пути не является каталогом");
    case EISDIR:
        return QStringLiteral("На этом месте находится каталог");
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("Файл уже существует");
    case EXDEV:
        return QStringLiteral("Файлы находятся на разных дисках");
    case EIO:
        return QStringLiteral("Ошибка ввода-вывода");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла");
    default:
        return QStringLiteral("Системная ошибка %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

void replaceFile(const QString& source, const QString& target) {
    if (std::rename(encoded(source).constData(), encoded(target).constData()) != 0)
        throw FileError(QStringLiteral("Не удается заменить файл ") + quoted(target),
                        fileErrorText(errno));
}

bool renameWithoutReplacing(const QString& source, const QString& target) {
    const QByteArray from = encoded(source);
    const QByteArray to = encoded(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    int error = errno;
    // A file system that cannot rename so: a second name, then the first one dropped.
    if (error == EINVAL || error == ENOSYS) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return true;
        }
        error = errno;
    }
    if (error == EEXIST)
        return false;
    throw FileError(
        QStringLiteral("Не удается переименовать файл %1 в %2").arg(quoted(source), quoted(target)),
        fileErrorText(error));
}

QString freshSiblingPath(const QString& target, const QString& suffix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (;;) {
        QString letters;
        for (int i = 0; i < 6; ++i)
            letters += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
        const QString path = target + u'.' + QString::number(::getpid()) + u'-' + letters + suffix;
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

void restrictPermissions(const QString& path, const QString& model) {
    struct stat modelInfo {};
    struct stat info {};
    if (!statPath(model, modelInfo) || !statPath(path, info))
        return;
    const mode_t mode = info.st_mode & 0777 & permissionsLike(modelInfo, info.st_gid);
    if (mode != (info.st_mode & 0777))
        ::chmod(encoded(path).constData(), mode);
}

ReplacementFile::ReplacementFile(const QString& target) : m_target(target) {
    QByteArray name = encoded(target + QStringLiteral(".%1-XXXXXX.part").arg(::getpid()));
    m_fd = ::mkostemps(name.data(), 5, O_CLOEXEC);
    if (m_fd < 0)
        throw FileError(QStringLiteral("Не удается создать файл рядом с ") + quoted(target),
                        fileErrorText(errno));
    m_path = QFile::decodeName(name);
}

ReplacementFile::~ReplacementFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(encoded(m_path).constData());
}

void ReplacementFile::fail(const QString& action, int errorNumber) const {
    throw FileError(action + u' ' + quoted(m_target), fileErrorText(errorNumber));
}

void ReplacementFile::write(const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t put = ::write(m_fd, data, size_t(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            fail(QStringLiteral("Не удается записать файл"), errno);
        data += put;
        size -= put;
    }
}

void ReplacementFile::writeFrom(const QString& source) {
    const Descriptor from(::open(encoded(source).constData(), O_RDONLY | O_CLOEXEC));
    if (from.fd() < 0)
        throw FileError(QStringLiteral("Не удается прочитать файл ") + quoted(source),
                        fileErrorText(errno));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from.fd(), buffer, sizeof buffer);
        if (got == 0)
            return;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(QStringLiteral("Не удается прочитать файл ") + quoted(source),
                            fileErrorText(errno));
        write(buffer, got);
    }
}

void ReplacementFile::takeModeOf(const QString& model) {
    struct stat modelInfo {};
    struct stat own {};
    if (!statPath(model, modelInfo) || !statPath(m_path, own))
        return;
    const QByteArray path = encoded(m_path);
    gid_t gid = own.st_gid;
    if (gid != modelInfo.st_gid && ::chown(path.constData(), uid_t(-1), modelInfo.st_gid) == 0)
        gid = modelInfo.st_gid;
    ::chmod(path.constData(), permissionsLike(modelInfo, gid));
}

void ReplacementFile::commit() {
    // The file may have been written by name, by another writer: what is synced is the file
    // the name holds.
    const Descriptor written(::open(encoded(m_path).constData(), O_RDONLY | O_CLOEXEC));
    if (written.fd() < 0 || ::fsync(written.fd()) != 0)
        fail(QStringLiteral("Не удается записать файл"), errno);
    if (::close(m_fd) != 0) {
        m_fd = -1;
        fail(QStringLiteral("Не удается записать файл"), errno);
    }
    m_fd = -1;
    replaceFile(m_path, m_target);
    m_committed = true;
}

void copyFolder(const QString& source, const QString& dest) {
    const QString from = withSlash(source);
    const QString to = withSlash(dest);
    const QFileInfo sourceInfo(from);
    if (!sourceInfo.isDir() || !sourceInfo.isReadable())
        throw Exception(QStringLiteral("Не удается скопировать каталог: ") + quoted(from));
    const QFileInfoList entries = QDir(from).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            const QString folder = to + name;
            if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
                throw Exception(QStringLiteral("Не удается создать каталог: ") + quoted(folder));
            copyFolder(from + name, folder);
        } else {
            copyOneFile(from + name, to + name);
        }
    }
}

int runAndWait(const QString& program, const QStringList& arguments) {
    if (program.isEmpty())
        return -1;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return -1;
    process.closeWriteChannel();
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

bool processRuns(qint64 pid) {
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    return processStatus(pid).value(0) != "Z";
}

QStringList removeLeftoverParts(const QString& target) {
    const QFileInfo targetInfo(target);
    const QString prefix = targetInfo.fileName() + u'.';
    const QFileInfoList files = QDir(targetInfo.absolutePath())
                                    .entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    QStringList removed;
    for (const QFileInfo& file : files) {
        if (!file.fileName().startsWith(prefix))
            continue;
        const qint64 writer = partWriter(file.fileName().mid(prefix.size()));
        if (writer > 0 && writerEnded(writer, file) && QFile::remove(file.filePath()))
            removed << file.filePath();
    }
    return removed;
}

bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается прочитать файл %1: %2")
                            .arg(quoted(QDir::toNativeSeparators(path)), file.errorString()));
    return file.readAll();
}

void writeWholeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush())
        throw Exception(QStringLiteral("Не удается записать файл %1: %2")
                            .arg(quoted(QDir::toNativeSeparators(path)), file.errorString()));
}
