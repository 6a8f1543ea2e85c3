#include "documents/dictionary_pane.h"

#include "core/exceptions.h"
#include "platform/firebird/data_set.h"
#include "store/data_store.h"
#include "store/dictionary_rows.h"
#include "store/stored_row.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/widget_helpers.h"

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kKeyField = QStringLiteral("PRKEY");
const QString kChangedElsewhere =
    QStringLiteral("Запись изменена или удалена в другом окне или другим пользователем, пока "
                   "была открыта здесь. Справочник прочитан заново; ваши изменения не сохранены.");

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

DictionaryPane::DictionaryPane(const QString& table, const QString& nameField, QWidget* owner)
    : GridBrowserPane(owner), m_table(table), m_nameField(nameField) {
    buildCommands();
    m_pages = named(new QStackedWidget(contentPanel()), "pages");
    contentPanel()->layout()->removeWidget(grid());
    contentPanel()->layout()->addWidget(m_pages);
    m_pages->addWidget(buildBrowsePage());
    m_pages->addWidget(buildEditPage());
}

void DictionaryPane::buildCommands() {
    m_editAction = buildAction(
        this,
        {.name = QStringLiteral("editAction"), .text = QStringLiteral("Коррекция"), .image = 4});
    m_deleteAction = buildAction(
        this,
        {.name = QStringLiteral("deleteAction"), .text = QStringLiteral("Удалить"), .image = 9});
    m_hiddenViewAction = buildAction(this, {.name = QStringLiteral("hiddenViewAction"),
                                            .text = QStringLiteral("Скрытые"),
                                            .image = 10});
    m_hiddenViewAction->setCheckable(true);
    m_hideAction = buildAction(
        this,
        {.name = QStringLiteral("hideAction"), .text = QStringLiteral("Скрыть"), .image = 13});
    m_hideAction->setCheckable(true);
    addToolButton(m_editAction, QStringLiteral("editButton"));
    addToolButton(m_deleteAction, QStringLiteral("deleteButton"));
    addToolButton(m_hiddenViewAction, QStringLiteral("hiddenViewButton"));
    addToolButton(m_hideAction, QStringLiteral("hideButton"));
    connect(m_editAction, &QAction::triggered, this, &DictionaryPane::onEditTriggered);
    connect(m_deleteAction, &QAction::triggered, this, &DictionaryPane::onDeleteTriggered);
    connect(m_hiddenViewAction, &QAction::triggered, this, &DictionaryPane::onHiddenViewToggled);
    connect(m_hideAction, &QAction::triggered, this, &DictionaryPane::onHideTriggered);

    m_filterAction = buildAction(this, {.name = QStringLiteral("filterAction"),
                                        .text = QStringLiteral("Фильтр..."),
                                        .shortcut = QKeySequence(Qt::CTRL | Qt::Key_F)});
    m_filterAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(m_filterAction);
    gridMenu()->addAction(m_filterAction);
    connect(m_filterAction, &QAction::triggered, this, &DictionaryPane::onFilterTriggered);

    // Shown while the filter line has the focus.
    m_applyFilterAction = buildAction(this, {.name = QStringLiteral("applyFilterAction"),
                                             .text = QStringLiteral("Отфильтровать")});
    m_applyFilterAction->setVisible(false);
    connect(m_applyFilterAction, &QAction::triggered, this,
            &DictionaryPane::onApplyFilterTriggered);
    m_editOkAction =
        buildAction(this, {.name = QStringLiteral("editOkAction"), .text = QStringLiteral("OK")});
    connect(m_editOkAction, &QAction::triggered, this, &DictionaryPane::onEditOkTriggered);
    // Esc on the edit page cancels the edit too.
    m_editCancelAction = buildAction(this, {.name = QStringLiteral("editCancelAction"),
                                            .text = QStringLiteral("Отмена"),
                                            .shortcut = QKeySequence(Qt::Key_Escape)});
    m_editCancelAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_editCancelAction, &QAction::triggered, this, &DictionaryPane::onEditCancelTriggered);
}

QWidget* DictionaryPane::buildBrowsePage() {
    m_browsePage = named(new QWidget, "browsePage");
    m_filterPanel = named(new QWidget(m_browsePage), "filterPanel");
    auto* filterLabel =
        named(new QLabel(QStringLiteral("Фильтр (Ctrl+F):"), m_filterPanel), "filterLabel");
    m_filterEdit = named(new QLineEdit(m_filterPanel), "filterEdit");
    filterLabel->setBuddy(m_filterEdit);
    m_filterButton =
        addActionPushButton(m_filterPanel, m_applyFilterAction, QStringLiteral("filterButton"));
    m_filterEdit->installEventFilter(this);
    auto* filterLayout = new QHBoxLayout(m_filterPanel);
    filterLayout->setContentsMargins(4, 2, 4, 2);
    filterLayout->addWidget(filterLabel);
    filterLayout->addWidget(m_filterEdit, 1);
    filterLayout->addWidget(m_filterButton);

    auto* layout = new QVBoxLayout(m_browsePage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_filterPanel);
    layout->addWidget(grid(), 1);
    return m_browsePage;
}

QWidget* DictionaryPane::buildEditPage() {
    m_editPage = named(new QWidget, "editPage");
    m_operationLabel = named(new QLabel(m_editPage), "operationLabel");
    QFont bold = m_operationLabel->font();
    bold.setBold(true);
    m_operationLabel->setFont(bold);
    auto* requiredLabel =
        named(new QLabel(QStringLiteral("   * Обязательные для заполнения поля"), m_editPage),
              "requiredLabel");
    m_editOkButton =
        addActionPushButton(m_editPage, m_editOkAction, QStringLiteral("editOkButton"));
    m_editCancelButton =
        addActionPushButton(m_editPage, m_editCancelAction, QStringLiteral("editCancelButton"));
    m_editPage->addAction(m_editCancelAction);
    auto* top = new QHBoxLayout;
    top->addWidget(m_operationLabel);
    top->addWidget(requiredLabel, 1);
    top->addWidget(m_editOkButton);
    top->addWidget(m_editCancelButton);

    m_fieldsArea = named(new QScrollArea(m_editPage), "fieldsArea");
    m_fieldsArea->setWidgetResizable(true);
    auto* fields = named(new QWidget, "fieldsPanel");
    m_fieldsLayout = new QFormLayout(fields);
    m_fieldsLayout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_fieldsArea->setWidget(fields);

    auto* layout = new QVBoxLayout(m_editPage);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_fieldsArea, 1);
    return m_editPage;
}

// ---- Fields ----

QLineEdit* DictionaryPane::addFieldEdit(const QString& field, const QString& label, int maxLength) {
    auto* edit = new QLineEdit;
    edit->setObjectName(field.toLower() + QStringLiteral("Edit"));
    // A name typed here leaves room for the "?" that hides it; the filter may be as long as the
    // column.
    const bool isName = field == m_nameField;
    const int typedLength = isName ? maxLength - 1 : maxLength;
    if (isName) {
        m_nameLength = maxLength;
        m_filterEdit->setMaxLength(maxLength);
    }
    edit->setMaxLength(typedLength);
    addFieldRow(label, edit);
    m_fieldEdits.insert(field, edit);
    auto show = [this, edit, field, typedLength] {
        const QString text = currentText(field);
        edit->setMaxLength(qMax(typedLength, int(text.size()))); // a stored value shows whole
        if (edit->text() != text)
            edit->setText(text);
    };
    followField(edit, field, show);
    connect(edit, &QLineEdit::textEdited, this, [this, field, show](const QString& text) {
        const bool taken = runGuarded([&] {
            DataStore::instance().editIfBrowsing(query());
            query().field(field).setAsString(text);
        });
        if (!taken)
            show();
    });
    return edit;
}

void DictionaryPane::addFieldRow(const QString& label, QWidget* widget) {
    if (label.isEmpty())
        m_fieldsLayout->addRow(widget);
    else
        m_fieldsLayout->addRow(label, widget);
    widget->installEventFilter(this);
    for (QWidget* part : widget->findChildren<QWidget*>())
        part->installEventFilter(this);
    m_fields << widget;
}

void DictionaryPane::followField(QWidget* widget, const QString& field,
                                 const std::function<void()>& show) {
    connect(&query(), &fb::DataSet::recordChanged, widget, show);
    connect(&query(), &fb::DataSet::fieldChanged, widget, [field, show](const QString& name) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            show();
    });
}

void DictionaryPane::requireName() {
    if (!currentText(m_nameField).trimmed().isEmpty())
        return;
    dialogs::showMessage(QStringLiteral("Должно быть указано название!"));
    if (QLineEdit* edit = fieldEdit(m_nameField))
        edit->setFocus();
    throw SilentAbort();
}

void DictionaryPane::hideFilter() {
    m_filtered = false;
    m_filterPanel->hide();
    m_filterAction->setEnabled(false);
}

QString DictionaryPane::currentText(const QString& field) {
    if (query().isEmpty() || query().fieldIndex(field) < 0)
        return QString();
    return query().field(field).asString();
}

int DictionaryPane::currentKey() {
    if (!query().isActive() || query().isEmpty())
        return 0;
    return int(query().field(kKeyField).asInteger());
}

// ---- The pane ----

void DictionaryPane::prepare() {
    GridBrowserPane::prepare();
    const QString area = rightsArea();
    if (area.isEmpty())
        return;
    const QString rights = UserRights(DataStore::instance()).rights();
    auto allows = [&](int action) {
        return UserRights::rightsAllow(rights, area + QString::number(action));
    };
    newAction()->setEnabled(allows(2));
    m_editAllowed = allows(3);
    m_editAction->setEnabled(m_editAllowed);
    m_deleteAction->setEnabled(allows(4));
    m_hideAction->setEnabled(allows(5));
}

void DictionaryPane::embed(std::unique_ptr<PaneInfo> paneInfo) {
    showBrowsePage();
    setMode(true, false, false);
    GridBrowserPane::embed(std::move(paneInfo));
}

void DictionaryPane::prepareQuery() {
    query().setSQL(rowsSelect(m_hiddenViewAction->isChecked()));
    if (m_filtered) {
        m_appliedMask = m_filterEdit->text();
        query().setParam(QStringLiteral("MASK"), m_appliedMask);
    }
    if (m_displayTexts.isEmpty())
        return;
    query().prepare();
    for (auto it = m_displayTexts.cbegin(); it != m_displayTexts.cend(); ++it)
        query().field(it.key()).setOnGetText(it.value());
}

void DictionaryPane::setDisplayText(const QString& field,
                                    const std::function<QString(const QVariant&)>& text) {
    m_displayTexts.insert(field, text);
}

void DictionaryPane::refreshRows(int key) {
    int next = 0;
    if (key == 0) {
        key = currentKey();
        const int row = query().currentRow() + 1;
        if (key != 0 && row < query().recordCount())
            next = query().value(row, query().fieldIndex(kKeyField)).toInt();
    }
    GridBrowserPane::refreshRows(key);
    if (next != 0 && currentKey() != key)
        query().locate(kKeyField, next);
}

void DictionaryPane::setMode(bool browse, bool edit, bool focus) {
    openAction()->setVisible(browse);
    newAction()->setVisible(browse && !m_hiddenViewAction->isChecked());
    m_hiddenViewAction->setVisible(browse);
    m_editAction->setVisible(edit);
    m_deleteAction->setVisible(edit);
    m_hideAction->setVisible(edit);
    m_fieldsArea->setEnabled(focus);
    if (focus && !m_fields.isEmpty())
        m_fields.first()->setFocus();
    updateHideAction();
}

void DictionaryPane::updateHideAction() {
    const bool hidden = currentText(m_nameField).startsWith(kHiddenMark);
    m_hideAction->setChecked(hidden);
    m_hideAction->setText(hidden ? QStringLiteral("Восстановить") : QStringLiteral("Скрыть"));
}

void DictionaryPane::initNewRow() {}

void DictionaryPane::beforeEdit() {}

void DictionaryPane::beforePost() {}

void DictionaryPane::checkHiding() {}

QStringList DictionaryPane::columnsNotWritten() const {
    return {};
}

bool DictionaryPane::isEditPageShown() const {
    return m_pages->currentWidget() == m_editPage;
}

void DictionaryPane::showEditPage(const QString& operation, const QString& okCaption) {
    m_operationLabel->setText(operation);
    m_editOkAction->setText(okCaption);
    m_pages->setCurrentWidget(m_editPage);
    m_fieldsArea->verticalScrollBar()->setValue(0);
}

void DictionaryPane::showBrowsePage() {
    m_pages->setCurrentWidget(m_browsePage);
    if (isVisible())
        grid()->setFocus();
}

// ---- Commands ----

void DictionaryPane::onNewTriggered() {
    if (isEditPageShown() || m_hiddenViewAction->isChecked())
        return;
    const int key = DataStore::instance().newKey(m_table);
    query().insert();
    query().field(kKeyField).setAsInteger(key);
    initNewRow();
    showEditPage(QStringLiteral("Добавление"), QStringLiteral("Добавить"));
    beforeEdit();
    setMode(false, false, true);
}

void DictionaryPane::onOpenTriggered() {
    if (isEditPageShown() || query().isEmpty())
        return;
    query().edit();
    showEditPage(QStringLiteral(" Просмотр"), QStringLiteral("OK"));
    beforeEdit();
    setMode(false, true, false);
}

void DictionaryPane::onEditTriggered() {
    if (!isEditPageShown())
        return;
    m_operationLabel->setText(QStringLiteral(" Коррекция"));
    setMode(false, false, true);
}

void DictionaryPane::onDeleteTriggered() {
    if (!isEditPageShown() || query().isEmpty())
        return;
    const Answer answer = dialogs::messageBox(
        this, QStringLiteral("Вы уверенны, что хотите удалить запись?"), QStringLiteral("Удаление"),
        Buttons::YesNo, MessageIcon::Question, DefaultButton::Second);
    if (answer != Answer::Yes)
        query().cancelUpdates();
    showBrowsePage();
    setMode(true, false, false);
    if (answer == Answer::Yes)
        runGuarded([this] { deleteCurrentRow(); });
}

void DictionaryPane::deleteCurrentRow() {
    const int key = currentKey();
    try {
        lockStoredRow(key);
        query().remove();
        DataStore::instance().postAndCommit(query());
    } catch (...) {
        // The row is not deleted: it comes back as the book holds it, and no later save
        // deletes it.
        dropChanges(key);
        throw;
    }
}

void DictionaryPane::dropChanges(int key) {
    try {
        query().rollbackRetaining();
    } catch (...) {
    }
    query().cancelUpdates();
    refreshRows(key);
}

void DictionaryPane::lockStoredRow(int key) {
    StoredRow(query().transaction(), m_table, key, kChangedElsewhere)
        .requireAsRead(query(), columnsNotWritten());
}

void DictionaryPane::onHiddenViewToggled() {
    runGuarded([this] { refreshRows(0); });
    setMode(true, false, false);
}

void DictionaryPane::onHideTriggered(bool hide) {
    runGuarded([this, hide] {
        if (hide) {
            checkHiding();
            refuseNameTooLongToHide();
        }
        DataStore::instance().editIfBrowsing(query());
        fb::DataField& name = query().field(m_nameField);
        const QString text = name.asString();
        if (hide && !text.startsWith(kHiddenMark))
            name.setAsString(kHiddenMark + text);
        else if (!hide && text.startsWith(kHiddenMark))
            name.setAsString(text.mid(1));
        save();
    });
    updateHideAction();
}

void DictionaryPane::refuseNameTooLongToHide() {
    const QString name = currentText(m_nameField);
    if (name.startsWith(kHiddenMark) || name.size() < m_nameLength)
        return;
    throw Exception(QStringLiteral("Запись нельзя скрыть: название занимает все %1 символов поля, "
                                   "и для знака \"?\" перед ним нет места. Сократите название "
                                   "хотя бы на один символ.")
                        .arg(m_nameLength));
}

void DictionaryPane::onEditOkTriggered() {
    if (query().state() == fb::DataSetState::Edit && !m_editAllowed) {
        // Only looked at, by a user who may not change the record: nothing is written.
        onEditCancelTriggered();
        return;
    }
    runGuarded([this] { save(); });
}

void DictionaryPane::onEditCancelTriggered() {
    if (!isEditPageShown())
        return;
    runGuarded([this] { query().cancelUpdates(); });
    showBrowsePage();
    setMode(true, false, false);
}

void DictionaryPane::save() {
    beforePost();
    storeRow();
    refreshRows(0);
    showBrowsePage();
    setMode(true, false, false);
}

void DictionaryPane::storeRow() {
    fb::DataSet& rows = query();
    rows.post();
    if (!rows.updatesPending())
        return; // nothing was changed: the row as another copy stored it stays
    const QVariant storedKey = rows.field(kKeyField).oldValue();
    if (!storedKey.isNull()) {
        try {
            lockStoredRow(storedKey.toInt());
        } catch (const RowChangedElsewhere&) {
            dropChanges(storedKey.toInt());
            showBrowsePage();
            setMode(true, false, false);
            throw;
        }
    }
    DataStore::instance().postAndCommit(rows);
}

// ---- The filter ----

void DictionaryPane::onFilterTriggered() {
    if (m_filtered && !isEditPageShown())
        m_filterEdit->setFocus();
}

void DictionaryPane::onApplyFilterTriggered() {
    grid()->setFocus();
    m_applyFilterAction->setVisible(false);
}

void DictionaryPane::applyFilter() {
    if (m_filterEdit->text() != m_appliedMask)
        runGuarded([this] { refreshRows(0); });
}

bool DictionaryPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_filterEdit) {
        if (event->type() == QEvent::FocusIn)
            m_applyFilterAction->setVisible(true);
        else if (event->type() == QEvent::FocusOut)
            applyFilter();
        else if (isEnterKeyPress(event)) {
            grid()->setFocus();
            return true;
        }
    } else if (isEnterKeyPress(event) && isFieldWidget(watched)) {
        focusNextChild();
        return true;
    }
    return GridBrowserPane::eventFilter(watched, event);
}

bool DictionaryPane::isFieldWidget(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && m_fieldsArea->widget()->isAncestorOf(widget);
}
