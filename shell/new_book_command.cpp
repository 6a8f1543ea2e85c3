#include "shell/new_book_command.h"

#include "core/exceptions.h"
#include "store/new_book.h"
#include "ui/input_dialog.h"
#include "ui/message_box.h"

#include <QDir>

bool addBook(QWidget* owner, BookKind kind, const QString& prompt, const QString& defaultName,
             QString* createdPath, bool openedNow) {
    QString name = defaultName;
    if (!inputQueryEx(owner, prompt, QStringLiteral("Название:"), name))
        throw SilentAbort();
    if (name.trimmed().isEmpty())
        throw Exception(QStringLiteral("Название базы данных не может быть пустым."));

    QString folder = defaultDatabasesFolder();
    QDir().mkpath(folder);
    if (!dialogs::selectDirectory(owner, QStringLiteral("Выберите папку для хранения базы данных"),
                                  folder, folder))
        throw SilentAbort();
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Не удается создать каталог: \"%1\"").arg(folder));

    // The folder keeps the rights it has: on Linux the user who creates it owns it.
    const QString path = createNewBook(kind, name, folder);
    const QString done = QStringLiteral("Операция произведена успешно!");
    const QString restart =
        QStringLiteral("\nДля использования новой базы запустите программу заново.");
    dialogs::messageBox(owner, openedNow ? done : done + restart, QStringLiteral("Создание"),
                        Buttons::Ok);
    if (createdPath)
        *createdPath = path;
    return true;
}
