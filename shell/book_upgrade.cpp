#include "shell/book_upgrade.h"

#include "core/exceptions.h"
#include "core/ini_file.h"
#include "platform/firebird/attachment.h"
#include "store/book_list.h"
#include "store/data_store.h"
#include "store/upgrade_steps.h"
#include "ui/message_box.h"

#include <QApplication>

namespace {

const char* const kVersionSection = "Version";
const char* const kCurrVersion = "CurrVersion";

QString programVersion() {
    return DataStore::programVersion();
}

QString requiredVersion() {
    return DataStore::requiredDatabaseVersion();
}

QString storedProgramVersion(const IniFile& ini) {
    return ini.readString(QLatin1String(kVersionSection), QLatin1String(kCurrVersion), QString());
}

// False when the text is no version.
bool readVersion(const QString& text, Currency& version) {
    try {
        version = strToCurrDot(text);
        return true;
    } catch (const ConvertError&) {
        return false;
    }
}

// INI "Version"/"CurrVersion" := the program version, "Startup"/"NoStartupDialog" := 0.
void saveProgramVersion(IniFile& ini) {
    ini.writeString(QLatin1String(kVersionSection), QLatin1String(kCurrVersion), programVersion());
    ini.writeInteger(QStringLiteral("Startup"), QStringLiteral("NoStartupDialog"), 0);
}

void refuseBook(const QString& text) {
    dialogs::messageBox(QApplication::activeWindow(), text, QStringLiteral("Обновление программы"),
                        Buttons::Ok, MessageIcon::Warning);
}

} // namespace

bool BookUpgrade::programVersionChanged(IniFile& ini) {
    const QString current = storedProgramVersion(ini);
    if (current == programVersion())
        return false;
    if (current.trimmed().isEmpty() && BookList(ini).count() == 0) {
        saveProgramVersion(ini);
        return false;
    }
    return true;
}

void BookUpgrade::upgradeEveryBook() {
    const QString current = storedProgramVersion(DataStore::instance().ini()).trimmed();
    // Without a stored program version a book without its own version counts as current,
    // as the start-up takes it.
    upgrade(true, current.isEmpty() ? strToCurrDot(requiredVersion()) : strToCurrDot(current));
}

bool BookUpgrade::upgradeOpenBookWhenOlder() {
    BookOptions options = DataStore::instance().options();
    QString own = options.option(kBookVersionKey).trimmed();
    if (own.isEmpty()) {
        own = requiredVersion();
        options.setOption(kBookVersionKey, own);
    }
    const Currency version = strToCurrDot(own);
    if (!(version < strToCurrDot(requiredVersion())))
        return true;
    const Answer answer = dialogs::messageBox(
        QApplication::activeWindow(),
        QStringLiteral("Неверная версия базы данных!\nВерсия базы данных: %1\nНеобходима версия: "
                       "%2\n\nПроводить обновление базы данных?")
            .arg(own, requiredVersion()),
        QStringLiteral("Ошибка"), Buttons::OkCancel, MessageIcon::Warning);
    if (answer == Answer::Ok)
        upgrade(false, version);
    return false;
}

void BookUpgrade::upgrade(bool allBooks, Currency fromVersion) {
    DataStore& store = DataStore::instance();
    if (allBooks) {
        const BookList books(store.ini());
        const int count = books.count();
        for (int i = 0; i < count; ++i) {
            store.reopenBook(books.book(i));
            upgradeBook(fromVersion);
        }
    } else {
        upgradeBook(fromVersion);
    }
    saveProgramVersion(store.ini());
    dialogs::showMessage(QStringLiteral("Обновление завершено.\n\nПерезапустите программу."));
}

void BookUpgrade::upgradeBook(Currency fromVersion) {
    DataStore& store = DataStore::instance();
    BookOptions options = store.options();
    const QString own = options.option(kBookVersionKey).trimmed();
    const QString path = store.database().path();
    const Currency required = strToCurrDot(requiredVersion());
    Currency from = fromVersion;
    if (!own.isEmpty() && !readVersion(own, from)) {
        refuseBook(QStringLiteral("База данных \"%1\" имеет неверную версию \"%2\".\n"
                                  "Эта база данных не обновляется.")
                       .arg(path, own));
        return;
    }
    if (required < from) {
        refuseBook(QStringLiteral("База данных \"%1\" имеет версию %2, более новую, чем нужна "
                                  "программе (%3).\nЭта база данных не обновляется.")
                       .arg(path, own.isEmpty() ? versionText(from) : own, requiredVersion()));
        return;
    }
    if (from == required) {
        if (own.isEmpty())
            options.setOption(kBookVersionKey, requiredVersion());
        return;
    }
    store.makeBackup(BackupKind::Reserv, path, false);
    m_steps.runUpgrades(from, [&options](Currency reached) {
        options.setOption(kBookVersionKey, versionText(reached));
    });
    options.setOption(kBookVersionKey, requiredVersion());
}
