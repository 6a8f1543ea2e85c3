#include "tests/support/shell/book_machine.h"

#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"
#include "store/new_book.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

const QStringList kKinds{QStringLiteral("Reserv"), QStringLiteral("Yesterday"),
                         QStringLiteral("Week")};

} // namespace

QString Machine::addBook(BookKind kind, const QString& name) {
    fb::prepareEmbeddedEngine();
    QString book;
    {
        ScopedDialogAnswerer quiet([](const DialogRequest&) { return DialogAnswer{}; });
        DataStore store(ini);
        book = createNewBook(kind, name, dir.path(), QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR));
    }
    for (const QString& kind : kKinds)
        QDir(QFileInfo(book).absolutePath() + QLatin1Char('/') + kind).removeRecursively();
    IniFile(ini).writeString(QStringLiteral("Version"), QStringLiteral("CurrVersion"),
                             QStringLiteral("2.18"));
    setFirstStart(false);
    return book;
}

void Machine::setFirstStart(bool shows) {
    IniFile(ini).writeInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"),
                              shows ? 0 : 1);
}

void Machine::fakeBackups(const QString& book) {
    for (const QString& kind : kKinds) {
        const QString path = DataStore::backupPath(book, kind);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
}

void Machine::setOption(const QString& book, const QString& key, const QString& value) {
    DataStore store(ini);
    store.database().attach(book);
    DataStore::instance().options().setOption(key, value);
}

void Machine::setExtraFolder(const QString& book) {
    const QString extra = QFileInfo(book).absolutePath() + QStringLiteral("/extra");
    QVERIFY(QDir().mkpath(extra));
    setOption(book, QStringLiteral("RezFolder"), extra);
}

void Machine::setRights(const QString& book, const QString& rights) {
    setAdministratorText(book, QStringLiteral("DATA2"), rights);
}

void setAdministratorText(const QString& book, const QString& column, const QString& text) {
    if (column != QLatin1String("DATA1") && column != QLatin1String("DATA2"))
        qFatal("no text column of USERS: %s", qPrintable(column));
    fb::Attachment db;
    db.attach(book);
    fb::Transaction tr(db);
    fb::Statement q(tr);
    q.prepare(QStringLiteral("UPDATE USERS SET %1=:TEXT WHERE PRKEY=1").arg(column));
    q.param(QStringLiteral("TEXT")).setString(text);
    q.execute();
    tr.commit();
}

QString readValue(const QString& book, const QString& sql) {
    fb::Attachment db;
    db.attach(book);
    fb::Transaction tr(db, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    const QString value = q.fetch() ? q.field(0).asString() : QString();
    q.close();
    tr.commit();
    return value;
}

void execute(const QString& book, const QString& sql) {
    fb::Attachment db;
    db.attach(book);
    fb::Transaction tr(db);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    tr.commit();
}
