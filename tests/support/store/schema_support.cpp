#include "tests/support/store/schema_support.h"

#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/embedded_engine.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "script/script_interpreter.h"
#include "store/carried_scripts.h"
#include "store/store_feedback.h"

#include <QCryptographicHash>
#include <QDir>

namespace schematest {

QStringList rows(fb::Attachment& database, const QString& sql) {
    fb::Transaction tr(database, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, sql, fb::ParamMode::Untouched);
    q.execute();
    QStringList result;
    while (q.fetch()) {
        QStringList fields;
        for (int i = 0; i < q.fieldCount(); ++i)
            fields << q.field(i).asString().trimmed();
        result << fields.join(QLatin1Char('|'));
    }
    tr.commit();
    return result;
}

QString templatesFolder() {
    return QStringLiteral(KALTRO_TEMPLATES_SOURCE_DIR);
}

QString newDatabaseScript() {
    return carriedScript(QStringLiteral("SQL_NEWDB"));
}

QString level207Script() {
    const QString script = newDatabaseScript();
    const qsizetype index = script.indexOf(QStringLiteral("CREATE INDEX HISTORY_INDEX_01"));
    const qsizetype block = script.lastIndexOf(QStringLiteral("ExecSQL()"), index);
    return script.left(block);
}

void runScript(fb::Attachment& database, const QString& script) {
    ScriptInterpreter interpreter(database);
    interpreter.setFailureReport([](const QString& note) {
        StoreFeedback::current().tell(note, QString(), StoreFeedback::Notice::Plain);
    });
    interpreter.run(ScriptInterpreter::splitLines(script));
}

void createDatabase(fb::Attachment& database, const QString& path) {
    fb::prepareEmbeddedEngine();
    database.create(path);
}

QStringList schemaSnapshot(fb::Attachment& database) {
    QStringList lines;
    const QString user = QStringLiteral("COALESCE(%1.RDB$SYSTEM_FLAG, 0) = 0");
    for (const QString& line : rows(
             database, QStringLiteral(
                           "SELECT RF.RDB$RELATION_NAME, RF.RDB$FIELD_NAME, RF.RDB$FIELD_POSITION, "
                           "F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE, F.RDB$FIELD_LENGTH, "
                           "F.RDB$FIELD_SCALE, F.RDB$FIELD_PRECISION, F.RDB$SEGMENT_LENGTH, "
                           "F.RDB$CHARACTER_SET_ID, COALESCE(RF.RDB$NULL_FLAG, 0) "
                           "FROM RDB$RELATION_FIELDS RF "
                           "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                           "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
                           "WHERE %1 ORDER BY 1, 3")
                           .arg(user.arg("R"))))
        lines << QStringLiteral("column ") + line;
    // Key constraints by name with their columns; NOT NULL constraints by their column (their
    // names are made by the engine).
    for (const QString& line :
         rows(database,
              QStringLiteral("SELECT RC.RDB$RELATION_NAME, RC.RDB$CONSTRAINT_NAME, "
                             "RC.RDB$CONSTRAINT_TYPE, S.RDB$FIELD_NAME, S.RDB$FIELD_POSITION "
                             "FROM RDB$RELATION_CONSTRAINTS RC "
                             "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = RC.RDB$INDEX_NAME "
                             "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RC.RDB$RELATION_NAME "
                             "WHERE %1 ORDER BY 1, 2, 5")
                  .arg(user.arg("R"))))
        lines << QStringLiteral("key ") + line;
    for (const QString& line :
         rows(database, QStringLiteral("SELECT RC.RDB$RELATION_NAME, CC.RDB$TRIGGER_NAME "
                                       "FROM RDB$RELATION_CONSTRAINTS RC "
                                       "JOIN RDB$CHECK_CONSTRAINTS CC "
                                       "ON CC.RDB$CONSTRAINT_NAME = RC.RDB$CONSTRAINT_NAME "
                                       "WHERE RC.RDB$CONSTRAINT_TYPE = 'NOT NULL' ORDER BY 1, 2")))
        lines << QStringLiteral("not null ") + line;
    for (const QString& line :
         rows(database, QStringLiteral(
                            "SELECT I.RDB$RELATION_NAME, I.RDB$INDEX_NAME, "
                            "COALESCE(I.RDB$UNIQUE_FLAG, 0), COALESCE(I.RDB$INDEX_INACTIVE, 0), "
                            "COALESCE(I.RDB$INDEX_TYPE, 0), S.RDB$FIELD_NAME, S.RDB$FIELD_POSITION "
                            "FROM RDB$INDICES I "
                            "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
                            "WHERE %1 AND I.RDB$INDEX_NAME NOT STARTING WITH 'RDB$' "
                            "ORDER BY 1, 2, 7")
                            .arg(user.arg("I"))))
        lines << QStringLiteral("index ") + line;
    for (const QString& line :
         rows(database, QStringLiteral("SELECT T.RDB$RELATION_NAME, T.RDB$TRIGGER_NAME, "
                                       "T.RDB$TRIGGER_TYPE, T.RDB$TRIGGER_SEQUENCE, "
                                       "COALESCE(T.RDB$TRIGGER_INACTIVE, 0), T.RDB$TRIGGER_SOURCE "
                                       "FROM RDB$TRIGGERS T WHERE %1 ORDER BY 2")
                            .arg(user.arg("T"))))
        lines << QStringLiteral("trigger ") + line;
    for (const QString& line :
         rows(database, QStringLiteral("SELECT E.RDB$EXCEPTION_NAME, E.RDB$MESSAGE "
                                       "FROM RDB$EXCEPTIONS E WHERE %1 ORDER BY 1")
                            .arg(user.arg("E"))))
        lines << QStringLiteral("exception ") + line;
    for (const QString& name :
         rows(database, QStringLiteral("SELECT G.RDB$GENERATOR_NAME FROM RDB$GENERATORS G "
                                       "WHERE %1 ORDER BY 1")
                            .arg(user.arg("G"))))
        lines << QStringLiteral("generator %1 = %2")
                     .arg(name, value(database, QStringLiteral("SELECT GEN_ID(%1, 0) FROM "
                                                               "RDB$DATABASE")
                                                    .arg(name)));
    return lines;
}

QStringList printForms(fb::Attachment& database) {
    fb::Transaction tr(database, fb::TransactionKind::ReadOnly);
    fb::Statement q(tr, QStringLiteral("SELECT PRKEY, LTYP, NAME, EXT, DATA FROM PRINTFORMS "
                                       "ORDER BY PRKEY"));
    q.execute();
    QStringList result;
    while (q.fetch()) {
        const QByteArray data = q.field(4).asBytes();
        result << QStringList{q.field(0).asString(),
                              q.field(1).asString(),
                              q.field(2).asString(),
                              q.field(3).asString(),
                              QString::number(data.size()),
                              QString::fromLatin1(
                                  QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex())}
                      .join(QLatin1Char('|'));
    }
    tr.commit();
    return result;
}

QString value(fb::Attachment& database, const QString& sql) {
    const QStringList result = rows(database, sql);
    return result.isEmpty() ? QString() : result.first();
}

Workplace::Workplace() : m_store(m_dir.filePath(QStringLiteral("kaltro.ini"))) {}

ListedPlace::ListedPlace() {
    QDir().mkpath(books);
    IniFile& ini = place.store().ini();
    ini.writeString("DB", "DatabasePath_0", "/data/a.fdb");
    ini.writeString("DB", "DatabaseCaption_0", "A");
    ini.writeString("DB", "DatabasePath_1", "/data/b.fdb");
    ini.writeString("DB", "DatabaseCaption_1", "B");
    ini.writeInteger("DB", "DatabaseCount", 2);
}

QString ListedPlace::ini(const QString& key) {
    return place.store().ini().readString("DB", key, "-");
}

QStringList ListedPlace::filesLeft() {
    QStringList names;
    for (const QString& name :
         QDir(books).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        names << name;
        for (const QString& inner : QDir(QDir(books).filePath(name)).entryList(QDir::Files))
            names << name + "/" + inner;
    }
    return names;
}

QStringList forms(const QString& path) {
    fb::Attachment db;
    db.attach(path);
    return printForms(db);
}

} // namespace schematest
