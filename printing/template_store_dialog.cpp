#include "printing/template_store_dialog.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/firebird/data_set.h"
#include "printing/template_edit.h"
#include "shell/main_window_base.h"
#include "store/data_store.h"
#include "store/default_templates.h"
#include "store/print_templates.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/input_dialog.h"
#include "ui/message_box.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace printing {

namespace {

constexpr int kNameLength = 100;

QStringList extensionsOf(TemplateProgram program) {
    if (program == TemplateProgram::Word)
        return {QStringLiteral("doc"), QStringLiteral("rtf"), QStringLiteral("docx")};
    return {QStringLiteral("odt")};
}

QString fileFilter(TemplateProgram program) {
    if (program == TemplateProgram::Word)
        return QStringLiteral("Документ Word 97-2003 (*.doc *.DOC);;Документ Word (*.docx "
                              "*.DOCX);;Текст в формате RTF (*.rtf *.RTF)");
    return QStringLiteral("Документ Writer (*.odt *.ODT)");
}

QString programName(TemplateProgram program) {
    return program == TemplateProgram::Word ? QStringLiteral("Microsoft Word")
                                            : QStringLiteral("OpenOffice.org Writer");
}

// The extension of a template's file as the book keeps it: lower case, without dots or blanks.
QString storedExtension(const QString& path) {
    return QFileInfo(path).suffix().toLower().remove(u'.').trimmed();
}

// A name the book can keep; raises Exception with the user's message otherwise.
void checkName(const QString& name) {
    if (name.trimmed().isEmpty())
        throw Exception(QStringLiteral("Укажите название печатной формы!"));
    if (name.size() > kNameLength)
        throw Exception(
            QStringLiteral("Название печатной формы длиннее %1 символов!").arg(kNameLength));
}

QAction* command(QObject* owner, const char* name, const QString& caption, int image,
                 const QKeySequence& shortcut = {}) {
    return buildAction(owner, {.name = QString::fromLatin1(name),
                               .text = caption,
                               .image = image,
                               .shortcut = shortcut,
                               .helpContext = TemplateStoreDialog::kHelpContext});
}

} // namespace

TemplateStoreDialog::TemplateStoreDialog(QWidget* owner, const QString& caption, int docType,
                                         TemplateProgram program)
    : OwnedDialog(owner), m_docType(docType), m_program(program),
      m_templates(DataStore::instance().createQuery()) {
    setObjectName(QStringLiteral("templateStoreDialog"));
    setWindowTitle(caption);
    resize(740, 420);
    PrintTemplates::setListWrites(*m_templates);

    createActions();
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("templateGrid"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setDataSet(m_templates.get());
    setGridColumns(*m_grid,
                   {{QStringLiteral("NAME"), Qt::AlignLeft, QStringLiteral("Название"), 630},
                    {QStringLiteral("EXT"), Qt::AlignCenter, QStringLiteral("Тип"), 50}});
    connect(m_grid, &DataGrid::openRequested, m_printAction, &QAction::trigger);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            &TemplateStoreDialog::onGridMenuRequested);

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(createChoiceBar());
    top->addWidget(createEditPanel());
    top->addStretch(1);
    top->addWidget(createWindowBar());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    onChangeToggled(false);
}

TemplateStoreDialog::~TemplateStoreDialog() {
    m_grid->setDataSet(nullptr);
}

void TemplateStoreDialog::createActions() {
    m_printAction = command(this, "printAction", QStringLiteral("Печать"), 12);
    m_printAction->setIcon(themeIcon("document-print", QStyle::SP_FileIcon));
    m_previewAction = command(this, "previewAction", QStringLiteral("Просмотр"), 12);
    m_previewAction->setIcon(
        themeIcon("document-print-preview", QStyle::SP_FileDialogContentsView));
    m_changeAction = command(this, "changeAction", QStringLiteral("Изменить"), 7);
    m_changeAction->setCheckable(true);
    m_addAction = command(this, "addAction", QStringLiteral("Создать из файла"), 1,
                          QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m_addAction->setIconText(QStringLiteral("Создать"));
    m_editAction = command(this, "editAction", QStringLiteral("Коррекция"), 4, Qt::Key_F4);
    m_renameAction = command(this, "renameAction", QStringLiteral("Переименовать"), 4,
                             QKeySequence(Qt::SHIFT | Qt::Key_F4));
    m_renameAction->setIconText(QStringLiteral("Название"));
    m_renameAction->setIcon(themeIcon("edit-rename", QStyle::SP_FileDialogListView));
    m_deleteAction = command(this, "deleteAction", QStringLiteral("Удалить"), 9,
                             QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_helpAction = command(this, "helpAction", QStringLiteral("Справка"), 17);
    m_closeAction = command(this, "closeAction", QStringLiteral("Закрыть"), 11);
    QWidget::addActions({m_addAction, m_editAction, m_renameAction, m_deleteAction});
    connect(m_printAction, &QAction::triggered, this, &TemplateStoreDialog::onPrintTriggered);
    connect(m_previewAction, &QAction::triggered, this, &TemplateStoreDialog::onPreviewTriggered);
    connect(m_changeAction, &QAction::toggled, this, &TemplateStoreDialog::onChangeToggled);
    connect(m_addAction, &QAction::triggered, this, &TemplateStoreDialog::onAddTriggered);
    connect(m_editAction, &QAction::triggered, this, &TemplateStoreDialog::onEditTriggered);
    connect(m_renameAction, &QAction::triggered, this, &TemplateStoreDialog::onRenameTriggered);
    connect(m_deleteAction, &QAction::triggered, this, &TemplateStoreDialog::onDeleteTriggered);
    connect(m_helpAction, &QAction::triggered, this, &TemplateStoreDialog::onHelpTriggered);
    connect(m_closeAction, &QAction::triggered, this, &QDialog::reject);

    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    m_gridMenu->addActions({m_addAction, m_editAction, m_deleteAction, m_renameAction});
}

QToolBar* TemplateStoreDialog::createChoiceBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("choiceBar"));
    addActionButton(bar, m_printAction, QStringLiteral("printButton"));
    addActionButton(bar, m_previewAction, QStringLiteral("previewButton"));
    addActionButton(bar, m_changeAction, QStringLiteral("changeButton"));
    return bar;
}

QWidget* TemplateStoreDialog::createEditPanel() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("editPanel"));
    QToolButton* add = addActionButton(bar, m_addAction, QStringLiteral("addButton"));
    auto* addMenu = new QMenu(add);
    addMenu->addAction(m_addAction);
    add->setMenu(addMenu);
    add->setPopupMode(QToolButton::MenuButtonPopup);
    addActionButton(bar, m_editAction, QStringLiteral("editButton"));
    addActionButton(bar, m_renameAction, QStringLiteral("renameButton"));
    addActionButton(bar, m_deleteAction, QStringLiteral("deleteButton"));
    m_editPanel = bar;
    return bar;
}

QToolBar* TemplateStoreDialog::createWindowBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("windowBar"));
    addActionButton(bar, m_helpAction, QStringLiteral("helpButton"));
    addActionButton(bar, m_closeAction, QStringLiteral("closeButton"));
    return bar;
}

std::optional<ChosenTemplate> TemplateStoreDialog::run() {
    m_chosen.reset();
    refreshList();
    exec();
    return m_chosen;
}

void TemplateStoreDialog::refreshList() {
    const int key = m_templates->isActive() && !m_templates->isEmpty()
                        ? int(m_templates->field(QStringLiteral("PRKEY")).asInteger())
                        : 0;
    if (m_templates->transaction().isActive())
        m_templates->commit();
    PrintTemplates::selectList(*m_templates, m_docType, extensionsOf(m_program));
    m_templates->open();
    if (!m_templates->locate(QStringLiteral("PRKEY"), key))
        m_templates->first();
}

void TemplateStoreDialog::choose(TemplateOutput output) {
    if (m_templates->isEmpty())
        return;
    m_chosen = ChosenTemplate{PrintTemplates::templateOf(*m_templates), output};
    accept();
}

void TemplateStoreDialog::onPrintTriggered() {
    runGuarded([this] { choose(TemplateOutput::Print); });
}

void TemplateStoreDialog::onPreviewTriggered() {
    runGuarded([this] { choose(TemplateOutput::View); });
}

void TemplateStoreDialog::onChangeToggled(bool checked) {
    m_editPanel->setVisible(checked);
    for (QAction* action : {m_addAction, m_editAction, m_renameAction, m_deleteAction})
        action->setEnabled(checked);
}

void TemplateStoreDialog::onGridMenuRequested(const QPoint& at) {
    if (m_changeAction->isChecked())
        m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
}

void TemplateStoreDialog::onAddTriggered() {
    QString path;
    if (!dialogs::openFileName(this, QStringLiteral("Добавление печатной формы"),
                               defaultTemplatesFolder(), fileFilter(m_program), path))
        return;
    runGuarded([&] { addFromFile(path); });
}

void TemplateStoreDialog::addFromFile(const QString& path) {
    const QString ext = storedExtension(path);
    if (!extensionsOf(m_program).contains(ext))
        throw Exception(QStringLiteral("Файл %1 не подходит: для %2 годятся файлы %3.")
                            .arg(QFileInfo(path).fileName(), programName(m_program),
                                 extensionsOf(m_program).join(QStringLiteral(", "))));
    QString name = QFileInfo(path).completeBaseName();
    if (!inputQueryEx(this, QStringLiteral("Название для новой печатной формы"),
                      QStringLiteral("Название:"), name))
        return;
    checkName(name);
    const QByteArray data = readWholeFile(path);
    DataStore& store = DataStore::instance();
    fb::DataSet& row = *m_templates;
    PrintTemplates(store).insertInto(row, m_docType, {0, name, data, ext});
    try {
        store.postAndCommit(row);
    } catch (...) {
        row.cancelUpdates();
        throw;
    }
    refreshList();
}

void TemplateStoreDialog::onRenameTriggered() {
    if (m_templates->isEmpty())
        return;
    fb::DataSet& row = *m_templates;
    QString name = row.field(QStringLiteral("NAME")).asString();
    if (!inputQueryEx(this, QStringLiteral("Новое название для печатной формы"),
                      QStringLiteral("Название:"), name))
        return;
    runGuarded([&] {
        checkName(name);
        row.edit();
        row.field(QStringLiteral("NAME")).setAsString(name);
        try {
            DataStore::instance().postAndCommit(row);
        } catch (...) {
            row.cancelUpdates();
            throw;
        }
        refreshList();
    });
}

void TemplateStoreDialog::onDeleteTriggered() {
    if (m_templates->isEmpty())
        return;
    const QString name = m_templates->field(QStringLiteral("NAME")).asString();
    if (dialogs::messageBox(
            this,
            QStringLiteral("Вы действительно хотите удалить печатную форму \"%1\"?").arg(name),
            QStringLiteral("Удаление печатной формы"), Buttons::YesNo, MessageIcon::Question,
            DefaultButton::Second) != Answer::Yes)
        return;
    runGuarded([this] {
        m_templates->remove();
        try {
            DataStore::instance().postAndCommit(*m_templates);
        } catch (...) {
            m_templates->cancelUpdates();
            refreshList();
            throw;
        }
    });
}

void TemplateStoreDialog::onEditTriggered() {
    if (m_templates->isEmpty())
        return;
    runGuarded([this] {
        TemplateEdit* edit = TemplateEdit::start(PrintTemplates::templateOf(*m_templates), this);
        connect(edit, &TemplateEdit::stored, this, &TemplateStoreDialog::refreshList);
    });
}

void TemplateStoreDialog::onHelpTriggered() {
    if (MainWindowBase* main = MainWindowBase::current())
        main->showHelpContextFor(this, kHelpContext);
}

} // namespace printing
