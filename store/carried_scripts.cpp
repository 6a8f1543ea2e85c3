#include "store/carried_scripts.h"

#include "core/exceptions.h"

#include <QFile>
#include <QRegularExpression>

QString carriedScript(const QString& name) {
    static const QRegularExpression plainName(QStringLiteral("^[A-Z0-9_]+$"));
    QFile file(QStringLiteral(":/sql/%1.sql").arg(name));
    if (!plainName.match(name).hasMatch() || !file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Скрипт \"%1\" не найден в программе").arg(name));
    return QString::fromUtf8(file.readAll());
}
