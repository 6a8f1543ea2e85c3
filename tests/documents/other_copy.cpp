// Another copy of the program on the same book, in a process of its own with a data store of its
// own, for the tests of what two copies do to one row:
//   other_copy INI BOOK set TABLE KEY COLUMN VALUE    stores a changed column of the row
//   other_copy INI BOOK delete TABLE KEY              deletes the row
//   other_copy INI BOOK hold TABLE KEY COLUMN VALUE   writes the change without committing, says
//                                                     "held", and rolls back when its standard
//                                                     input ends
//   other_copy INI BOOK option KEY VALUE              stores an option of the book
// Ends with 0 when it did so; with 1 and the reason on standard error otherwise.
#include "core/exceptions.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/embedded_engine.h"
#include "store/data_store.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void run(const QStringList& args) {
    DataStore store(args.value(1));
    store.chooseBook(ChosenBook(0, args.value(2)));
    store.openBook();
    const QString command = args.value(3);
    if (command == QLatin1String("option")) {
        store.options().setOption(args.value(4), args.value(5));
        return;
    }
    const QString table = args.value(4);
    const QString column = args.value(6);
    const std::unique_ptr<fb::DataSet> row = store.createQuery();
    row->setSQL(QStringLiteral("SELECT * FROM %1 WHERE PRKEY=:PRKEY").arg(table));
    row->setParam(QStringLiteral("PRKEY"), args.value(5).toInt());
    row->setModifySQL(
        QStringLiteral("UPDATE %1 SET %2=:%2 WHERE PRKEY=:OLD_PRKEY").arg(table, column));
    row->setDeleteSQL(QStringLiteral("DELETE FROM %1 WHERE PRKEY=:OLD_PRKEY").arg(table));
    row->open();
    if (row->isEmpty())
        throw Exception(QStringLiteral("no row %1 in %2").arg(args.value(5), table));
    if (command == QLatin1String("delete")) {
        row->remove();
        store.postAndCommit(*row);
        return;
    }
    row->edit();
    row->field(column).setAsString(args.value(7));
    if (command == QLatin1String("set")) {
        store.postAndCommit(*row);
        return;
    }
    row->applyUpdates();
    std::puts("held");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    row->rollback();
}

} // namespace

int main(int argc, char** argv) {
    fb::prepareEmbeddedEngine();
    // Nobody is there to answer: what the copy would say goes to standard error, the store's log.
    QCoreApplication app(argc, argv);
    try {
        run(app.arguments());
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
