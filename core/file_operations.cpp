#include "core/file_operations.h"

#include "core/exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <filesystem>

namespace {

QString withSlash(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

QString quoted(const QString& s) {
    return u'"' + s + u'"';
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void copyOneFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::copy_file(fsPath(from), fsPath(to),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        throw Exception(QStringLiteral("Не удается скопировать файл: ") + quoted(from) +
                        QStringLiteral(" -> ") + quoted(to) + u'\n' +
                        QStringLiteral("Закройте все программы, перезагрузите компьютер и "
                                       "попробуйте еще раз!"));
}

} // namespace

void replaceFile(const QString& source, const QString& target) {
    std::error_code error;
    std::filesystem::rename(fsPath(source), fsPath(target), error);
    if (error)
        throw Exception(QStringLiteral("Не удается заменить файл \"%1\": %2")
                            .arg(target, QString::fromLocal8Bit(error.message().c_str())));
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
