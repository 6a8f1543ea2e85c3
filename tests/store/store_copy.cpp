// Another running copy of the program working on the same files, for the store's tests:
//   store_copy backup INI BOOK COUNT         backs BOOK up into its "Reserv" folder COUNT times
//   store_copy new-book INI FOLDER TEMPLATES makes a cash-desk book "Касса" in FOLDER
// Exit code 0 on success; each message it would show goes to stderr, and the exit code is 1.
#include "core/exceptions.h"
#include "platform/firebird/embedded_engine.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/new_book.h"
#include "store/store_feedback.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Each notice of the store goes to the standard error output, and is counted.
class CountedNotices final : public StoreFeedback {
public:
    explicit CountedNotices(QTextStream& err) : m_err(err) { install(this); }
    void tell(const QString& text, const QString& caption, Notice) override {
        m_err << caption << ": " << text << Qt::endl;
        ++count;
    }
    void wait(const std::function<void()>& work) override { work(); }
    int count = 0;

private:
    QTextStream& m_err;
};

} // namespace

int main(int argc, char** argv) {
    fb::prepareEmbeddedEngine();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 5) {
        err << "usage: store_copy backup INI BOOK COUNT | new-book INI FOLDER TEMPLATES"
            << Qt::endl;
        return 1;
    }
    CountedNotices messages(err);
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
    return messages.count == 0 ? 0 : 1;
}
