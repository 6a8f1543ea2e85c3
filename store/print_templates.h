#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class DataStore;

namespace fb {
class DataSet;
}

// The editable print templates of the book, table PRINTFORMS: the file of a word processor,
// with the document type it serves (LTYP, OPER.TYP of its documents) and the file's extension.
inline constexpr char kPrintTemplatesTable[] = "PRINTFORMS";

// A print template of the book: a row of PRINTFORMS.
struct PrintTemplate {
    int key = 0;
    QString name;
    QByteArray data; // the file's bytes
    QString ext;     // "doc", "docx", "rtf" or "odt"
};

class PrintTemplates {
public:
    explicit PrintTemplates(DataStore& store) : m_store(store) {}

    // ---- The list of the template store ----
    // The writes of its rows: a new template, a new name, a delete; and the refresh of a row.
    // The file of a template is changed only by storeData.
    static void setListWrites(fb::DataSet& rows);
    // Puts on rows the select of the templates of docType whose extension is one of extensions,
    // by name.
    static void selectList(fb::DataSet& rows, int docType, const QStringList& extensions);
    // The template of the current row of rows.
    static PrintTemplate templateOf(fb::DataSet& rows);
    // Appends to rows a new template of docType with the name, file and extension of
    // printTemplate, its key from the generator; rows stores it when posted.
    void insertInto(fb::DataSet& rows, int docType, const PrintTemplate& printTemplate);

    // Stores data as the file of the template of key, and commits. Exception when the template
    // is gone.
    void storeData(int key, const QByteArray& data);

private:
    DataStore& m_store;
};
