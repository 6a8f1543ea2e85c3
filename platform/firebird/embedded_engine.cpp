#include "platform/firebird/embedded_engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>
#include <unistd.h>

namespace fb {

namespace {

const char kConfig[] = "# Written by the program: several processes may share one database file.\n"
                       "ServerMode = SuperClassic\n";

// The parts of the system's Firebird root that the private one links to.
const char* const kLinkedParts[] = {"plugins", "firebird.msg", "plugins.conf", "intl/fbintl.conf"};

// The character-set library must be a real file inside the root: the engine does not take it
// through a link ("CHARACTER SET WIN1251 is not defined"), so it is copied.
const char kIntlLibrary[] = "intl/libfbintl.so";

// A folder only this user can write: created when missing, refused when it is a link or
// belongs to someone else (another user could otherwise slip plugins into this process).
bool ownPrivateFolder(const QString& path) {
    QDir().mkpath(path);
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink() || info.ownerId() != uint(getuid()))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool linkTo(const QString& target, const QString& link) {
    const QFileInfo existing(link);
    if (existing.isSymLink() && existing.symLinkTarget() == target)
        return true;
    if (existing.exists() || existing.isSymLink())
        QFile::remove(link);
    return QFile::link(target, link);
}

bool writeConfig(const QString& path) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == QByteArray(kConfig))
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(kConfig);
    return file.commit();
}

// Copies the file unless an up-to-date copy is there; the copy is renamed into place whole.
bool copyFile(const QString& source, const QString& target) {
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && !to.isSymLink() && to.size() == from.size() &&
        to.lastModified() >= from.lastModified())
        return true;
    const QString partial = target + QStringLiteral(".part%1").arg(getpid());
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        return false;
    // rename() replaces an older copy in one step, also while another copy of the program
    // is starting.
    return std::rename(QFile::encodeName(partial).constData(),
                       QFile::encodeName(target).constData()) == 0;
}

bool fillRoot(const QString& root, const QString& system) {
    const QString intl = root + QStringLiteral("/intl");
    if (QFileInfo(intl).isSymLink())
        QFile::remove(intl);
    if (!ownPrivateFolder(root) || !ownPrivateFolder(intl))
        return false;
    if (!copyFile(system + QLatin1Char('/') + QLatin1String(kIntlLibrary),
                  root + QLatin1Char('/') + QLatin1String(kIntlLibrary)))
        return false;
    for (const char* part : kLinkedParts) {
        const QString target = system + QLatin1Char('/') + QLatin1String(part);
        if (QFileInfo::exists(target) &&
            !linkTo(target, root + QLatin1Char('/') + QLatin1String(part)))
            return false;
    }
    return writeConfig(root + QStringLiteral("/firebird.conf"));
}

QStringList rootCandidates() {
    QStringList roots;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        roots << cache + QStringLiteral("/kaltro/firebird");
    roots << QStringLiteral("/tmp/kaltro-firebird-%1").arg(getuid());
    return roots;
}

} // namespace

QString systemFirebirdRoot() {
    const QStringList candidates = {QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0"),
                                    QStringLiteral("/usr/lib/firebird/3.0"),
                                    QStringLiteral("/opt/firebird")};
    for (const QString& root : candidates)
        if (QFileInfo::exists(root + QStringLiteral("/plugins/libEngine12.so")))
            return root;
    return {};
}

QString prepareEmbeddedEngine() {
    if (qEnvironmentVariableIsSet("FIREBIRD"))
        return qEnvironmentVariable("FIREBIRD");
    const QString system = systemFirebirdRoot();
    if (system.isEmpty())
        return {};
    for (const QString& root : rootCandidates()) {
        if (fillRoot(root, system)) {
            qputenv("FIREBIRD", QFile::encodeName(root));
            return root;
        }
    }
    return {};
}

} // namespace fb
