// A copy of the program in the middle of writing a file beside a target, for a test to watch
// while it runs or to kill: writes part of a ReplacementFile of the target of its first argument,
// names that file on its standard output and waits until its standard input ends; then it ends
// without a commit, and its file goes with it. On failure it says why and ends with 1.
#include "core/exceptions.h"
#include "core/file_operations.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        ReplacementFile part(app.arguments().value(1));
        part.write("half-written", 12);
        std::printf("%s\n", qUtf8Printable(part.path()));
        std::fflush(stdout);
        char byte = 0;
        while (std::fread(&byte, 1, 1, stdin) == 1) {
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(e.message()));
        return 1;
    }
    return 0;
}
