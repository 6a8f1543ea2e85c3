// A second copy of the program, for test_fbEmbedded:
//   test_fbShareHelper root            prints the Firebird root it prepares
//   test_fbShareHelper insert PATH KEY  inserts row KEY into table T of PATH and commits
// Exit code 0 on success; errors go to stderr with exit code 1.
#include "core/exceptions.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString root = fb::prepareEmbeddedEngine();
    try {
        if (args.value(1) == "root") {
            out << root << Qt::endl;
            return 0;
        }
        if (args.value(1) == "insert" && args.size() == 4) {
            fb::Attachment db;
            db.attach(args[2]);
            fb::Transaction tr(db);
            fb::Statement insert(tr, "INSERT INTO T (PRKEY) VALUES (:PRKEY)");
            insert.param("PRKEY").setInteger(args[3].toLongLong());
            insert.execute();
            tr.commit();
            return 0;
        }
        err << "usage: test_fbShareHelper root | insert PATH KEY" << Qt::endl;
    } catch (const Exception& e) {
        err << e.message() << Qt::endl;
    }
    return 1;
}
