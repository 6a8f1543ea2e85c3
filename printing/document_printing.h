#pragma once

#include "printing/simple_forms.h"
#include "printing/template_printer.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// The print command of a document window: the choice between the editable templates and the
// simple print forms that the book's options allow, and the printing of the simple form chosen.
namespace printing {

// Prints the document through an editable template in program, choosing the template itself.
using TemplatePrinting = std::function<void(QWidget* owner, const QString& formClass,
                                            int documentKey, TemplateProgram program)>;
// Where a filled simple form goes: on the default printer at once, or into the preview.
using FormOutput = std::function<void(QWidget* owner, const FilledForm& form, bool noPreview)>;

// The default printer when noPreview, else the modal preview over owner.
void printOrPreview(QWidget* owner, const FilledForm& form, bool noPreview);

// The template store over owner for the document's type and program; the template chosen
// there prints, or shows in the word processor.
void printThroughTemplateStore(QWidget* owner, const QString& formClass, int documentKey,
                               TemplateProgram program);

struct PrintServices {
    FormOutput output = printOrPreview;
    // None: the editable templates are not offered.
    TemplatePrinting templates = printThroughTemplateStore;
};

// What the document window does after its print command.
enum class AfterPrint { KeepWindow, CloseWindow };

// The print command of the window owner on the document documentKey, whose window class is
// formClass ("TfrmPaymentIncome", ...). Asks which kind of forms when both are allowed, then
// prints; says "Использование печатных форм запрещено в настройках программы!" when none is.
// Raises Exception with the user's message when the simple forms or the template programs
// needed are all switched off, or the document cannot be read; the window then stays.
AfterPrint printDocument(QWidget* owner, const QString& formClass, int documentKey,
                         const PrintServices& services = {});

// The simple-form path alone: the print-mode dialog over the forms the book offers for
// formClass (the table of store/printed_forms.h), each choice printed through output.
void printSimpleForms(QWidget* owner, const QString& formClass, int documentKey,
                      const FormOutput& output);

} // namespace printing
