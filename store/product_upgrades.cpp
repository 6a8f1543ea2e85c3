#include "store/product_upgrades.h"

#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/carried_scripts.h"
#include "store/data_store.h"
#include "store/default_templates.h"
#include "store/upgrade_steps.h"

#include <QMap>
#include <QSet>

namespace {

// Whether a select of the catalogue returns a row.
bool returnsRow(fb::Transaction& transaction, const QString& sql) {
    fb::Statement q(transaction, sql);
    q.execute();
    return q.fetch();
}

bool printFormsTableExists(fb::Transaction& transaction) {
    return returnsRow(transaction, QStringLiteral("SELECT 1 FROM RDB$RELATIONS\n"
                                                  "WHERE RDB$RELATION_NAME='PRINTFORMS'"));
}

bool printFormsExtensionExists(fb::Transaction& transaction) {
    return returnsRow(transaction, QStringLiteral("SELECT 1 FROM RDB$RELATION_FIELDS\n"
                                                  "WHERE RDB$RELATION_NAME='PRINTFORMS'\n"
                                                  "AND RDB$FIELD_NAME='EXT'"));
}

QList<DefaultTemplate> missingPrintForms(fb::Transaction& transaction,
                                         const QList<DefaultTemplate>& forms) {
    QSet<int> stored;
    fb::Statement q(transaction, QStringLiteral("SELECT PRKEY FROM PRINTFORMS"));
    q.execute();
    while (q.fetch())
        stored.insert(int(q.field(0).asInteger()));
    QList<DefaultTemplate> missing;
    for (const DefaultTemplate& form : forms)
        if (!stored.contains(form.row.key))
            missing.append(form);
    return missing;
}

// The templates of step 2.09: read before the script runs, so that a missing file stops the
// step before it changes anything; inserted without EXT, which the table gets in step 2.16.
// The script commits before the templates go in, so a run stopped between the two is resumed:
// a table already made is kept, and a template already stored under its key is skipped.
void updateTo209(const QString& templatesFolder, const ScriptRunner& runScript) {
    fb::Attachment& database = DataStore::instance().database();
    QList<DefaultTemplate> forms;
    bool tableMade = false;
    {
        fb::Transaction read(database, fb::TransactionKind::ReadOnly);
        forms = readDefaultPrintForms(read, templatesFolder);
        tableMade = printFormsTableExists(read);
        read.commit();
    }
    if (!tableMade)
        runScript(carriedScript(QStringLiteral("UPDATE_TO_209")));
    fb::Transaction write(database);
    insertPrintForms(write, missingPrintForms(write, forms), false);
    write.commit();
}

// The script commits the new column before the extensions are set from the templates' content,
// so a run stopped between the two is resumed: a column already there is kept.
void updateTo216(const ScriptRunner& runScript) {
    fb::Attachment& database = DataStore::instance().database();
    bool columnMade = false;
    {
        fb::Transaction read(database, fb::TransactionKind::ReadOnly);
        columnMade = printFormsExtensionExists(read);
        read.commit();
    }
    if (!columnMade)
        runScript(carriedScript(QStringLiteral("UPDATE_TO_216")));
    fb::Transaction transaction(database);
    setTemplateExtensionsFromContent(transaction);
    transaction.commit();
}

} // namespace

void registerProductUpgrades(UpgradeSteps& steps, const QString& templatesFolder,
                             ScriptRunner runScript) {
    const QString templates =
        templatesFolder.isEmpty() ? defaultTemplatesFolder() : templatesFolder;
    auto script = [runScript](const char* name) {
        return [runScript, name] { runScript(carriedScript(QLatin1String(name))); };
    };
    steps.registerUpgrade(QStringLiteral("2.08"), strToCurrDot(QStringLiteral("2.08")),
                          script("UPDATE_TO_208"));
    steps.registerUpgrade(QStringLiteral("2.09"), strToCurrDot(QStringLiteral("2.09")),
                          [templates, runScript] { updateTo209(templates, runScript); });
    steps.registerUpgrade(QStringLiteral("2.10"), strToCurrDot(QStringLiteral("2.10")),
                          script("UPDATE_TO_210"));
    steps.registerUpgrade(QStringLiteral("2.12"), strToCurrDot(QStringLiteral("2.12")),
                          script("UPDATE_TO_212"));
    steps.registerUpgrade(QStringLiteral("2.16"), strToCurrDot(QStringLiteral("2.16")),
                          [runScript] { updateTo216(runScript); });
    steps.registerUpgrade(QStringLiteral("2.17"), strToCurrDot(QStringLiteral("2.17")),
                          script("UPDATE_TO_217"));
}

void setTemplateExtensionsFromContent(fb::Transaction& transaction) {
    QMap<int, QString> extensions;
    {
        fb::Statement select(transaction, QStringLiteral("SELECT PRKEY, DATA FROM PRINTFORMS"));
        select.execute();
        while (select.fetch())
            extensions.insert(int(select.field(0).asInteger()),
                              templateExtension(select.field(1).asBytes()));
    }
    fb::Statement update(transaction,
                         QStringLiteral("UPDATE PRINTFORMS SET EXT=:EXT WHERE PRKEY=:PRKEY"));
    for (auto it = extensions.cbegin(); it != extensions.cend(); ++it) {
        update.param(QStringLiteral("EXT")).setString(it.value());
        update.param(QStringLiteral("PRKEY")).setInteger(it.key());
        update.execute();
    }
}
