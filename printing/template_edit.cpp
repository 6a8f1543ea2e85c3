#include "printing/template_edit.h"

#include "core/file_operations.h"
#include "platform/office_session.h"
#include "platform/work_folder.h"
#include "store/data_store.h"
#include "store/print_templates.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <optional>

namespace printing {

namespace {

const QString kStoreQuestion = QStringLiteral("Сохранить измененный документ в программе?");

} // namespace

TemplateEdit* TemplateEdit::start(const PrintTemplate& printTemplate, QWidget* dialog) {
    std::unique_ptr<TemplateEdit> edit(new TemplateEdit(printTemplate, dialog));
    auto folder = std::make_unique<WorkFolder>();
    edit->m_path = folder->filePath(templateFileName(printTemplate));
    writeWholeFile(edit->m_path, printTemplate.data);
    auto* editor = new OfficeSession(std::move(folder), edit->m_path, edit.get());
    connect(editor, &OfficeSession::ended, edit.get(), &TemplateEdit::onEditorEnded);
    return edit.release();
}

void TemplateEdit::finishOpenEdits(QWidget* owner, bool unattended) {
    const QList<TemplateEdit*> edits =
        QCoreApplication::instance()->findChildren<TemplateEdit*>(Qt::FindDirectChildrenOnly);
    for (TemplateEdit* edit : edits)
        edit->finishAtExit(owner, unattended);
}

TemplateEdit::TemplateEdit(const PrintTemplate& printTemplate, QWidget* dialog)
    : QObject(QCoreApplication::instance()), m_key(printTemplate.key), m_name(printTemplate.name),
      m_original(printTemplate.data), m_dialog(dialog) {}

TemplateEdit::~TemplateEdit() = default;

std::optional<QByteArray> TemplateEdit::changedFile() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray edited = file.readAll();
    if (edited == m_original)
        return std::nullopt;
    return edited;
}

void TemplateEdit::onEditorEnded() {
    auto* editor = qobject_cast<OfficeSession*>(sender());
    if (editor && !editor->failure().isEmpty())
        showWarning(m_dialog, editor->failure());
    if (const std::optional<QByteArray> edited = changedFile())
        offerToStore(m_dialog, kStoreQuestion, *edited);
    deleteLater();
}

// The editor runs on; what it saves from now on stays in its file.
void TemplateEdit::finishAtExit(QWidget* owner, bool unattended) {
    // Nothing of the editor is heard of any more.
    setParent(nullptr);
    const std::unique_ptr<TemplateEdit> over(this);
    const std::optional<QByteArray> edited = changedFile();
    const QString stillOpen =
        QStringLiteral("Печатная форма \"%1\" еще открыта для изменения в LibreOffice.")
            .arg(m_name);
    if (unattended) {
        qWarning("%s", qUtf8Printable(stillOpen + QStringLiteral(" Ее файл %1 в программе не "
                                                                 "сохранен.")
                                                      .arg(m_path)));
        return;
    }
    if (edited) {
        offerToStore(owner, stillOpen + u'\n' + kStoreQuestion, *edited);
        return;
    }
    showWarning(owner, stillOpen + QStringLiteral(" Изменения, сохраненные в нем после выхода из "
                                                  "программы, в программу не попадут."));
}

void TemplateEdit::offerToStore(QWidget* owner, const QString& question, const QByteArray& edited) {
    for (;;) {
        const Answer answer = dialogs::messageBox(owner, question, QStringLiteral("Внимание!"),
                                                  Buttons::YesNo, MessageIcon::Question);
        if (answer != Answer::Yes || runGuarded([&] { store(edited); }))
            return;
    }
}

void TemplateEdit::store(const QByteArray& edited) {
    PrintTemplates(DataStore::instance()).storeData(m_key, edited);
    QFile::remove(m_path);
    emit stored(m_key);
}

} // namespace printing
