// Another running copy of the program that adds books to the INI list, for test_book_list:
//   book_list_writer INI PREFIX COUNT   appends /books/PREFIX0.fdb .. /books/PREFIX<COUNT-1>.fdb
// Exit code 0 on success; errors go to stderr with exit code 1.
#include "core/exceptions.h"
#include "core/ini_file.h"
#include "store/book_list.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: book_list_writer INI PREFIX COUNT" << Qt::endl;
        return 1;
    }
    try {
        IniFile ini(args[1]);
        const int count = args[3].toInt();
        for (int i = 0; i < count; ++i) {
            const QString name = args[2] + QString::number(i);
            BookList(ini).append(QStringLiteral("/books/%1.fdb").arg(name), name);
        }
        return 0;
    } catch (const Exception& e) {
        err << e.message() << Qt::endl;
    }
    return 1;
}
