#include "printing/template_edit.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/firebird/data_set.h"
#include "platform/office_session.h"
#include "platform/work_folder.h"
#include "store/data_store.h"
#include "ui/guard.h"
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace printing {

namespace {

constexpr char kSelectSql[] = "SELECT P.PRKEY, P.DATA FROM PRINTFORMS P WHERE P.PRKEY=:PRKEY";
constexpr char kModifySql[] = "UPDATE PRINTFORMS SET DATA=:DATA WHERE PRKEY=:OLD_PRKEY";

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

TemplateEdit::TemplateEdit(const PrintTemplate& printTemplate, QWidget* dialog)
    : QObject(QCoreApplication::instance()), m_key(printTemplate.key),
      m_original(printTemplate.data), m_dialog(dialog) {}

TemplateEdit::~TemplateEdit() = default;

void TemplateEdit::onEditorEnded() {
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray edited = file.readAll();
        if (edited != m_original)
            offerToStore(edited);
    }
    deleteLater();
}

void TemplateEdit::offerToStore(const QByteArray& edited) {
    for (;;) {
        const Answer answer = dialogs::messageBox(
            m_dialog, QStringLiteral("Сохранить измененный документ в программе?"),
            QStringLiteral("Внимание!"), Buttons::YesNo, MessageIcon::Question);
        if (answer != Answer::Yes || runGuarded([&] { store(edited); }))
            return;
    }
}

void TemplateEdit::store(const QByteArray& edited) {
    DataStore& store = DataStore::instance();
    std::unique_ptr<fb::DataSet> row = store.createQuery();
    row->setSQL(QString::fromLatin1(kSelectSql));
    row->setModifySQL(QString::fromLatin1(kModifySql));
    row->setParam(QStringLiteral("PRKEY"), m_key);
    row->open();
    if (row->isEmpty())
        throw Exception(QStringLiteral("Печатная форма удалена, пока ее редактировали: измененный "
                                       "документ сохранить некуда."));
    row->edit();
    row->field(QStringLiteral("DATA")).setAsBytes(edited);
    store.postAndCommit(*row);
    row->commit();
    QFile::remove(m_path);
    emit stored(m_key);
}

} // namespace printing
