#pragma once

#include "platform/template_fill.h"
#include "printing/document_tags.h"
#include "store/print_templates.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;
class StatusWindow;
class WorkFolder;

// Printing a document through an editable template: the template's file filled with the
// document's tags by the rules of the program it was made for, then printed or opened in the
// word processor for viewing. LibreOffice serves both programs.
namespace printing {

// The program that fills an editable template.
enum class TemplateProgram { Word = 1, Writer = 2 };

// The name of the template's file: the template's own name, where a file name can hold it, and
// its extension; the word processor shows it in its title.
QString templateFileName(const PrintTemplate& printTemplate);

// What becomes of the filled document.
enum class TemplateOutput { Print, View };

// The document filled in from a template, in a file of folder.
struct FilledTemplate {
    QString path;
    templatefill::MacroBlocks macros;
};

// Writes the template into folder and fills its tags; a DOC template is turned into an ODT
// document first. Raises Exception for a format it cannot fill.
FilledTemplate fillTemplate(const PrintTemplate& printTemplate, const templatefill::TagValues& tags,
                            TemplateProgram program, const QString& folder);

// The tags of documentTags in the form the fill takes.
templatefill::TagValues tagValues(const QList<DocumentTag>& tags);

// The messages about the macro blocks of a filled Word template: the blocks found (which are
// not run here), then the warning that ended their search. Empty when there is nothing to say.
QStringList macroMessages(const templatefill::MacroBlocks& macros);

// Where a filled document, made a PDF file, is printed: the default printer.
using PdfPrinting = std::function<void(const QString& pdfPath)>;
void printPdfOnDefaultPrinter(const QString& pdfPath);

// Prints one document through one template, with a small window over owner that says what it
// is doing. Errors raise Exception with the user's message; nothing of the filled files stays
// behind after a print, and after a view only as long as the word processor shows them.
class TemplatePrinter {
public:
    TemplatePrinter(QWidget* owner, TemplateDocument document, TemplateProgram program);

    void setPdfPrinting(PdfPrinting printing) { m_pdfPrinting = std::move(printing); }

    // Fills the template with the document of OPER.PRKEY documentKey and prints it, or opens it
    // in the word processor, which the program then leaves running; a word processor that then
    // ends with an error is told.
    void print(const PrintTemplate& printTemplate, TemplateOutput output, int documentKey);

private:
    void printFilled(const FilledTemplate& filled, WorkFolder& folder, StatusWindow& status);
    void showMacroMessages(const templatefill::MacroBlocks& macros, StatusWindow& status);

    QWidget* m_owner;
    TemplateDocument m_document;
    TemplateProgram m_program;
    PdfPrinting m_pdfPrinting = printPdfOnDefaultPrinter;
};

} // namespace printing
