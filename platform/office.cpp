#include "platform/office.h"

#include "core/exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace {

QString searchPathInUse;
std::optional<QString> knownProgram;

QString lookForOffice() {
    const QString program = QStringLiteral("soffice");
    if (searchPathInUse.isEmpty())
        return QStandardPaths::findExecutable(program);
    const QStringList folders = searchPathInUse.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (folders.isEmpty())
        return QString();
    return QStandardPaths::findExecutable(program, folders);
}

} // namespace

bool officeAvailable() {
    return !officeProgram().isEmpty();
}

QString officeProgram() {
    if (!knownProgram)
        knownProgram = lookForOffice();
    return *knownProgram;
}

QString requiredOfficeProgram() {
    const QString program = officeProgram();
    if (program.isEmpty())
        throw Exception(QStringLiteral("Операция невозможна: на компьютере не найден LibreOffice "
                                       "(программа soffice). Установите LibreOffice и повторите "
                                       "попытку."));
    return program;
}

bool officeShowsWindows() {
    const QString program = officeProgram();
    if (program.isEmpty())
        return false;
    const QDir folder = QFileInfo(QFileInfo(program).canonicalFilePath()).dir();
    if (!folder.exists(QStringLiteral("soffice.bin")))
        return true;
    return !folder.entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

void requireOfficeWindows() {
    requiredOfficeProgram();
    if (!officeShowsWindows())
        throw Exception(QStringLiteral(
            "Установленный LibreOffice работает без окон и не может показать документ. Чтобы "
            "просматривать и изменять печатные формы, установите LibreOffice с окнами (пакет "
            "libreoffice-writer)."));
}

void setOfficeSearchPath(const QString& searchPath) {
    searchPathInUse = searchPath;
    knownProgram.reset();
}
