// A second program copying a folder, for a test to kill at a chosen moment: copies the folder
// of its first argument into the folder of its second; on failure says why and ends with 1.
#include "core/exceptions.h"
#include "core/file_operations.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    try {
        copyFolder(arguments.value(1), arguments.value(2));
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(e.message()));
        return 1;
    }
    return 0;
}
