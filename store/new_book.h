#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

namespace fb {
class Transaction;
}

// The new-book command of the main window ("Добавить кассу...", "Добавить Р/С...") and the
// default print templates that a new book, and the upgrade to 2.09, load.

// Owner kinds, the value of PARTS.LOWNER of the owner row.
enum BookKind { BankAccount = 0, CashDesk = 1 };

// The folder "PrintTemplates" beside the executable.
QString defaultTemplatesFolder();
// The folder the new-book command offers first: "Databases" beside the executable, or in the
// user's data folder when the executable's folder cannot be written.
QString defaultDatabasesFolder();

// The path of the next book file in folder: "Kaltro" + N + ".fdb", N one above the greatest
// number of the files "Kaltro*.fdb" there (a name whose middle is no number counts as 0).
QString nextDatabaseFileName(const QString& folder);

// One default template: its fixed key, document type (1 income, 2 issue), display name, file
// in the templates folder and extension.
struct TemplateRow {
    int key = 0;
    int docType = 0;
    QString name;
    QString fileName;
    QString ext;
};

// The templates of a book kind in key order: 1-16 for a bank account, 17-24 for a cash desk,
// none for any other value.
QList<TemplateRow> defaultPrintFormRows(int ownerType);

struct DefaultTemplate {
    TemplateRow row;
    QByteArray data;
};

// The owner row's kind, then every template file of that kind, read before anything is written
// (a missing file raises Exception and nothing is inserted). No owner row: Exception
// "Не удется определить тип БД!". A null kind counts as a bank account.
QList<DefaultTemplate> readDefaultPrintForms(fb::Transaction& transaction,
                                             const QString& templatesFolder);
// Inserts the templates; without withExt the column EXT is left out (PRINTFORMS before 2.16).
void insertPrintForms(fb::Transaction& transaction, const QList<DefaultTemplate>& forms,
                      bool withExt);
// readDefaultPrintForms, then insertPrintForms. The caller commits.
void loadDefaultPrintForms(fb::Transaction& transaction, const QString& templatesFolder,
                           bool withExt = true);
// One template row; an empty ext leaves the column EXT out.
void insertPrintForm(fb::Transaction& transaction, int key, int docType, const QString& name,
                     const QByteArray& data, const QString& ext);

// The extension a template's content calls for: an OLE compound file "doc", a zip holding an
// OpenDocument text "odt", a zip holding "word/" "docx", "{\rtf" "rtf", anything else "doc".
QString templateExtension(const QByteArray& data);

// Creates a new book in folder, in this order: the database file, the creation script, the
// owner row (kind, "StoreCapt" = name, "DBVersion"), the default templates, one commit; then
// the three backups of the new file (failures are shown and the command goes on) and last its
// entry at the end of the INI list. Any failure on the way removes the new file (and backups
// made for it) and lists nothing; the error passes on. Returns the new file's path.
// An empty templatesFolder means defaultTemplatesFolder(). Needs the data store.
QString createNewBook(int ownerType, const QString& name, const QString& folder,
                      const QString& templatesFolder = QString());

// The whole command: asks the name (caption prompt, initial text defaultName) and the folder,
// creates the book and says so. Cancel in either dialog is a silent abort (SilentAbort); errors
// pass on to the caller's error display. Returns true when a book was made; createdPath receives
// its path. The first book of a fresh machine opens at once: openedNow leaves out the advice to
// start the program again.
bool addBook(QWidget* owner, int ownerType, const QString& prompt, const QString& defaultName,
             QString* createdPath = nullptr, bool openedNow = false);
