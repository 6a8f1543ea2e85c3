#include "platform/office.h"

#include "core/exceptions.h"

#include <QDir>
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

void setOfficeSearchPath(const QString& searchPath) {
    searchPathInUse = searchPath;
    knownProgram.reset();
}
