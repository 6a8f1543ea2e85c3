#include "platform/office.h"

#include <QDir>
#include <QStandardPaths>
#include <optional>

namespace {

QString searchPathInUse;
std::optional<bool> knownAvailable;

bool lookForOffice() {
    const QString program = QStringLiteral("soffice");
    if (searchPathInUse.isEmpty())
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QStringList folders = searchPathInUse.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return !folders.isEmpty() && !QStandardPaths::findExecutable(program, folders).isEmpty();
}

} // namespace

bool officeAvailable() {
    if (!knownAvailable)
        knownAvailable = lookForOffice();
    return *knownAvailable;
}

void setOfficeSearchPath(const QString& searchPath) {
    searchPathInUse = searchPath;
    knownAvailable.reset();
}
