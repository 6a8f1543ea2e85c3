#include "store/uScripts.h"

#include "script/fmSQLExec.h"
#include "store/dmDataStoreProto.h"
#include "util/uExceptions.h"

#include <QFile>
#include <QRegularExpression>

QString ScriptResource(const QString& name) {
    static const QRegularExpression plainName(QStringLiteral("^[A-Z0-9_]+$"));
    QFile file(QStringLiteral(":/sql/%1.sql").arg(name));
    if (!plainName.match(name).hasMatch() || !file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Скрипт \"%1\" не найден в программе").arg(name));
    return QString::fromUtf8(file.readAll());
}

void RunScriptResource(const QString& name, QWidget* owner) {
    RunScript(ScriptResource(name), owner);
}

void RunScript(const QString& text, QWidget* owner) {
    TfrmSQLExec::RunScript(dtmdlDataStoreProto->dbMain(), text, owner);
}
