#include "store/passwords.h"

#include "core/cp1251.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/data_store.h"

namespace {

const char* const kVisibleUsers = "SELECT * FROM USERS WHERE (NOT LNAM LIKE '?%')";

QString hexByte(unsigned value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString encodePassword(const QString& text) {
    const QByteArray bytes = cp1251::encode(text);
    unsigned seed = 0;
    for (const char byte : bytes)
        seed += uchar(byte);
    seed &= 0xFF;
    if (seed == 0)
        seed = 1;
    QString result = hexByte(seed);
    for (const char byte : bytes) {
        const unsigned b = uchar(byte);
        result += hexByte((b & 0x7E) ^ seed);
        seed ^= b & 0x81;
    }
    return result;
}

QString checkNewPassword(const QString& password, const QString& confirm) {
    if (password != confirm)
        return QStringLiteral("Пароли не совпадают.\nПовторите ввод");
    const QString foreign = cp1251::firstForeignCharacter(password);
    if (!foreign.isEmpty())
        return QStringLiteral("Символ \"%1\" нельзя использовать в пароле: "
                              "его нет в кодировке Windows-1251.\nПовторите ввод")
            .arg(foreign);
    return QString();
}

bool passwordAccepted(const QString& typed, const QString& stored) {
    if (stored.isEmpty())
        return true;
    return cp1251::canEncode(typed) && encodePassword(typed) == stored;
}

bool hasNoPassword(const QString& stored) {
    return stored.isEmpty() || stored == encodePassword(QString());
}

QList<VisibleUser> visibleUsers(DataStore& store) {
    fb::Statement& q = store.query();
    q.close();
    q.prepare(QString::fromLatin1(kVisibleUsers), fb::ParamMode::Untouched);
    q.execute();
    QList<VisibleUser> users;
    while (q.fetch())
        users.append({int(q.field(QStringLiteral("PRKEY")).asInteger()),
                      q.field(QStringLiteral("LNAM")).asString(),
                      q.field(QStringLiteral("PASSW")).asString()});
    store.transaction().commit();
    return users;
}
