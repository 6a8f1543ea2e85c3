// Another running copy of the program that writes the INI file, for test_ini_file:
//   ini_writer INI PREFIX COUNT   writes PREFIX0=0 .. PREFIX<COUNT-1> into section "Writers"
// Exit code 0 on success; errors go to stderr with exit code 1.
#include "core/exceptions.h"
#include "core/ini_file.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: ini_writer INI PREFIX COUNT" << Qt::endl;
        return 1;
    }
    try {
        IniFile ini(args[1]);
        const int count = args[3].toInt();
        for (int i = 0; i < count; ++i)
            ini.writeInteger(QStringLiteral("Writers"), args[2] + QString::number(i), i);
        return 0;
    } catch (const Exception& e) {
        err << e.message() << Qt::endl;
    }
    return 1;
}
