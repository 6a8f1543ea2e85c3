#include "printing/template_printer.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/office.h"
#include "platform/office_conversion.h"
#include "platform/office_session.h"
#include "platform/pdf_printing.h"
#include "platform/work_folder.h"
#include "printing/printed_document.h"
#include "printing/report_output.h"
#include "store/data_store.h"
#include "ui/message_box.h"
#include "ui/status_window.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>

namespace printing {

namespace {

templatefill::Family familyOf(TemplateProgram program) {
    return program == TemplateProgram::Word ? templatefill::Family::Word
                                            : templatefill::Family::Writer;
}

QString startingText(TemplateProgram program) {
    return program == TemplateProgram::Word ? QStringLiteral("Запуск Microsoft Word...")
                                            : QStringLiteral("Запуск OpenOffice.org Writer...");
}

} // namespace

QString templateFileName(const PrintTemplate& printTemplate) {
    QString name = printTemplate.name.trimmed();
    name.replace(u'/', u'_');
    if (name.isEmpty() || name.startsWith(u'.'))
        name = QStringLiteral("document");
    return name.left(100) + u'.' + printTemplate.ext.trimmed().toLower();
}

templatefill::TagValues tagValues(const QList<DocumentTag>& tags) {
    templatefill::TagValues values;
    for (const DocumentTag& tag : tags)
        values.append({tag.tag, tag.value});
    return values;
}

FilledTemplate fillTemplate(const PrintTemplate& printTemplate, const templatefill::TagValues& tags,
                            TemplateProgram program, const QString& folder) {
    const QString ext = printTemplate.ext.trimmed().toLower();
    const QString fileName = templateFileName(printTemplate);
    // The template's file under its own name, which any message about it gives, beside the
    // filled document of the same name.
    const QString sourceFolder = QDir(folder).filePath(QStringLiteral("template"));
    if (!QDir().mkpath(sourceFolder))
        throw Exception(QStringLiteral("Не удалось создать папку %1.").arg(sourceFolder));
    QString source = QDir(sourceFolder).filePath(fileName);
    writeWholeFile(source, printTemplate.data);
    if (ext == u"doc")
        source = convertDocument(source, QStringLiteral("odt"), sourceFolder);
    const QString target = QDir(folder).filePath(QFileInfo(fileName).completeBaseName() + u'.' +
                                                 QFileInfo(source).suffix());
    FilledTemplate filled{target, {}};
    if (ext == u"rtf") {
        writeWholeFile(target, templatefill::fillRtf(readWholeFile(source), tags, familyOf(program),
                                                     &filled.macros));
    } else if (ext == u"doc" || ext == u"docx" || ext == u"odt") {
        filled.macros = templatefill::fillPackage(source, target, tags, familyOf(program));
    } else {
        throw Exception(QStringLiteral("Печатные формы в формате \"%1\" не поддерживаются: "
                                       "годятся файлы doc, docx, rtf и odt.")
                            .arg(ext));
    }
    return filled;
}

QStringList macroMessages(const templatefill::MacroBlocks& macros) {
    QStringList messages;
    if (!macros.names.isEmpty())
        messages << QStringLiteral("Макросы печатной формы не выполнены: %1.\nВыполнение "
                                   "макросов текстового процессора в этой программе невозможно.")
                        .arg(macros.names.join(QStringLiteral(", ")));
    if (!macros.warning.isEmpty())
        messages << macros.warning;
    return messages;
}

void printPdfOnDefaultPrinter(const QString& pdfPath) {
    QPrinter printer(defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QFileInfo(pdfPath).completeBaseName());
    printPdf(pdfPath, printer);
}

TemplatePrinter::TemplatePrinter(QWidget* owner, TemplateDocument document, TemplateProgram program)
    : m_owner(owner), m_document(document), m_program(program) {}

void TemplatePrinter::print(const PrintTemplate& printTemplate, TemplateOutput output,
                            int documentKey) {
    if (output == TemplateOutput::View)
        requireOfficeWindows();
    StatusWindow status(m_owner, QStringLiteral("Печать..."));
    status.setText(startingText(m_program));
    status.showNow();
    auto folder = std::make_unique<WorkFolder>();

    status.setText(QStringLiteral("Создание документа..."));
    const PrintedDocument document = readPrintedDocument(DataStore::instance(), documentKey);
    const FilledTemplate filled = fillTemplate(
        printTemplate, tagValues(documentTags(document, m_document)), m_program, folder->path());
    showMacroMessages(filled.macros, status);

    if (output == TemplateOutput::Print) {
        printFilled(filled, *folder, status);
        return;
    }
    status.hide();
    OfficeSession* viewer = OfficeSession::open(std::move(folder), filled.path);
    // The document window may have closed by the time the viewer ends.
    QObject::connect(viewer, &OfficeSession::ended, viewer, [viewer, owner = QPointer(m_owner)] {
        if (!viewer->failure().isEmpty())
            showWarning(owner, viewer->failure());
    });
}

void TemplatePrinter::printFilled(const FilledTemplate& filled, WorkFolder& folder,
                                  StatusWindow& status) {
    status.setText(QStringLiteral("Печать документа..."));
    m_pdfPrinting(convertDocument(filled.path, QStringLiteral("pdf"), folder.path()));
}

void TemplatePrinter::showMacroMessages(const templatefill::MacroBlocks& macros,
                                        StatusWindow& status) {
    if (m_program != TemplateProgram::Word)
        return;
    status.setText(QStringLiteral("Выполнение макросов..."));
    for (const QString& message : macroMessages(macros))
        showWarning(m_owner, message);
}

} // namespace printing
