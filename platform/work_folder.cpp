#include "platform/work_folder.h"

#include "core/exceptions.h"
#include "core/file_operations.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdlib>
#include <unistd.h>

namespace {

const char kOwnerFile[] = ".kaltro-owner";
const int kOwnerlessGraceSeconds = 60;

QString rootPath() {
    return QDir::tempPath() + QStringLiteral("/kaltro-%1").arg(getuid());
}

Exception creationError(const QString& path) {
    return Exception(QStringLiteral("Не удалось создать временную папку %1").arg(path));
}

// Whether the folder of this user's work folders is a folder of this user's own, not a link
// (somebody else could otherwise have it point into a folder of theirs).
bool isPrivateRoot(const QString& root) {
    const QFileInfo info(root);
    return info.isDir() && !info.isSymLink() && info.ownerId() == uint(getuid());
}

// The folder of this user's work folders, created when missing; only this user may enter it.
QString createdRoot() {
    const QString root = rootPath();
    QDir().mkpath(root);
    if (!isPrivateRoot(root) ||
        !QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw creationError(root);
    return root;
}

QString createdFolder() {
    const QString root = createdRoot();
    QByteArray name = QFile::encodeName(root + QStringLiteral("/XXXXXX"));
    if (mkdtemp(name.data()) == nullptr)
        throw creationError(root);
    return QFile::decodeName(name);
}

// The owner recorded in folder; 0 when there is no record, -1 when it cannot be read.
qint64 recordedOwner(const QString& folder) {
    QFile file(QDir(folder).filePath(QLatin1String(kOwnerFile)));
    if (!file.exists())
        return 0;
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const qint64 pid = file.readAll().trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : -1;
}

bool isStale(const QFileInfo& folder) {
    const qint64 owner = recordedOwner(folder.filePath());
    if (owner > 0)
        return !processRuns(owner);
    if (owner < 0)
        return false;
    return folder.lastModified().secsTo(QDateTime::currentDateTime()) > kOwnerlessGraceSeconds;
}

} // namespace

WorkFolder::WorkFolder() : m_path(createdFolder()), m_owner(0) {
    try {
        setOwner(QCoreApplication::applicationPid());
    } catch (const Exception&) {
        QDir(m_path).removeRecursively();
        throw;
    }
}

WorkFolder::~WorkFolder() {
    if (m_owner == QCoreApplication::applicationPid() || !processRuns(m_owner))
        QDir(m_path).removeRecursively();
}

QString WorkFolder::filePath(const QString& name) const {
    return QDir(m_path).filePath(name);
}

void WorkFolder::setOwner(qint64 pid) {
    m_owner = pid;
    QSaveFile file(filePath(QLatin1String(kOwnerFile)));
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(pid)) < 0 ||
        !file.commit())
        throw Exception(QStringLiteral("Не удалось записать файл %1").arg(file.fileName()));
}

void removeStaleWorkFolders() {
    const QString root = rootPath();
    if (!isPrivateRoot(root))
        return;
    const QFileInfoList folders =
        QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& folder : folders)
        if (isStale(folder))
            QDir(folder.filePath()).removeRecursively();
}
