#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace fb {
class Transaction;
}

// The default print templates that a new book, and the upgrade to 2.09, load from the folder
// "PrintTemplates" beside the executable.

// The folder "PrintTemplates" beside the executable.
QString defaultTemplatesFolder();

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
