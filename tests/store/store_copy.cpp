// Another running copy of the program working on the same files, for the store's tests:
//   store_copy backup INI BOOK COUNT         backs BOOK up into its "Reserv" folder COUNT times
//   store_copy new-book INI FOLDER TEMPLATES makes a cash-desk book "Касса" in FOLDER
// Exit code 0 on success; each message it would show goes to stderr, and the exit code is 1.
#include "core/exceptions.h"
#include "platform/firebird/embedded_engine.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    fb::prepareEmbeddedEngine();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 5) {
        err << "usage: store_copy backup INI BOOK COUNT | new-book INI FOLDER TEMPLATES"
            << Qt::endl;
        return 1;
    }
    int messages = 0;
    dialogs::setAnswerer([&](const DialogRequest& request) {
        err << request.caption << ": " << request.text << Qt::endl;
        ++messages;
        return DialogAnswer{Answer::Ok, {}};
    });
    try {
        DataStore store(args[2]);
        if (args[1] == QLatin1String("backup")) {
            for (int i = 0; i < args[4].toInt(); ++i)
                store.makeBackup(BackupKind::Reserv, args[3], false);
        } else if (args[1] == QLatin1String("new-book")) {
            createNewBook(BookKind::CashDesk, QStringLiteral("Касса"), args[3], args[4]);
        } else {
            err << "unknown command " << args[1] << Qt::endl;
            return 1;
        }
    } catch (const Exception& e) {
        err << e.message() << Qt::endl;
        return 1;
    }
    return messages == 0 ? 0 : 1;
}
