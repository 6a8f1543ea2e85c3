#include "printing/document_printing.h"

#include "core/exceptions.h"
#include "printing/print_mode_dialog.h"
#include "printing/report_output.h"
#include "printing/template_store_dialog.h"
#include "store/data_store.h"
#include "store/product_options.h"
#include "ui/choice_dialog.h"
#include "ui/message_box.h"

namespace printing {

namespace {

enum class PrintKind { Template = 0, Simple = 1 };

const PrintedForm& printedFormOf(const QString& formClass, const QString& printFormClass) {
    for (const PrintedForm& row : printedForms()) {
        if (row.formClass == formClass && row.printFormClass == printFormClass)
            return row;
    }
    throw Exception(QStringLiteral("Печатная форма не найдена"));
}

// Which kind of forms prints; false when the user cancels or nothing is allowed.
bool choosePrintKind(QWidget* owner, bool simple, bool templates, PrintKind& kind) {
    if (simple && templates) {
        int index = 0;
        if (!ChoiceDialog::select(owner, QStringLiteral("Выберите набор печатных форм"), index,
                                  {QStringLiteral("Редактируемые печатные формы"),
                                   QStringLiteral("Простые печатные формы")}))
            return false;
        kind = PrintKind(index);
        return true;
    }
    kind = simple ? PrintKind::Simple : PrintKind::Template;
    return simple || templates;
}

// Which program fills the template; false when the user cancels.
bool chooseProgram(QWidget* owner, const ProductOptions& options, TemplateProgram& program) {
    const bool word = options.useWord();
    const bool writer = options.useWriter();
    if (!word && !writer)
        throw Exception(QStringLiteral(
            "Использование редактируемых печатных форм запрещено в настройках программы!"));
    int index = word ? 0 : 1;
    if (word && writer &&
        !ChoiceDialog::select(
            owner, QStringLiteral("Выберите программу для печатания"), index,
            {QStringLiteral("Microsoft Word"), QStringLiteral("OpenOffice.org Writer")}))
        return false;
    program = index == 0 ? TemplateProgram::Word : TemplateProgram::Writer;
    return true;
}

AfterPrint printThroughTemplate(QWidget* owner, const QString& formClass, int documentKey,
                                const ProductOptions& options, const TemplatePrinting& print) {
    TemplateProgram program = TemplateProgram::Word;
    if (!chooseProgram(owner, options, program))
        return AfterPrint::KeepWindow;
    print(owner, formClass, documentKey, program);
    return AfterPrint::CloseWindow;
}

} // namespace

void printThroughTemplateStore(QWidget* owner, const QString& formClass, int documentKey,
                               TemplateProgram program) {
    const TemplateDocument document = templateDocumentOf(formClass);
    TemplateStoreDialog store(owner, QStringLiteral("Выберите печатную форму"),
                              templateDocumentType(document), program);
    const std::optional<ChosenTemplate> chosen = store.run();
    if (!chosen)
        return;
    TemplatePrinter(owner, document, program)
        .print(chosen->printTemplate, chosen->output, documentKey);
}

void printOrPreview(QWidget* owner, const FilledForm& form, bool noPreview) {
    if (noPreview)
        printOnDefaultPrinter(form.report, form.data);
    else
        previewReport(owner, form.report, form.data);
}

AfterPrint printDocument(QWidget* owner, const QString& formClass, int documentKey,
                         const PrintServices& services) {
    const ProductOptions options(DataStore::instance());
    const bool templates = services.templates && options.useTemplates();
    PrintKind kind = PrintKind::Simple;
    if (!choosePrintKind(owner, options.useSimpleForms(), templates, kind)) {
        if (options.useSimpleForms() || templates)
            return AfterPrint::KeepWindow;
        showWarning(
            owner, QStringLiteral("Использование печатных форм запрещено в настройках программы!"));
        return AfterPrint::CloseWindow;
    }
    if (kind == PrintKind::Template)
        return printThroughTemplate(owner, formClass, documentKey, options, services.templates);
    printSimpleForms(owner, formClass, documentKey, services.output);
    return AfterPrint::CloseWindow;
}

void printSimpleForms(QWidget* owner, const QString& formClass, int documentKey,
                      const FormOutput& output) {
    DataStore& store = DataStore::instance();
    const ProductOptions options(store);
    PrintModeDialog dialog(owner, options.simplePrintForms(formClass));
    dialog.execute(0, [&](PrintModeDialog& chosen) {
        const PrintedForm& row =
            printedFormOf(formClass, options.simplePrintFormClass(formClass, chosen.itemIndex()));
        const PrintedDocument document = readPrintedDocument(store, documentKey);
        output(owner, fillSimpleForm(row.form, document, row.copies), chosen.noPreview());
    });
}

} // namespace printing
