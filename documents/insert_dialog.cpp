#include "documents/insert_dialog.h"

#include "platform/firebird/data_set.h"
#include "store/data_store.h"
#include "ui/action_builder.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/widget_helpers.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kEditWidth = 320;

} // namespace

InsertDialog::InsertDialog(QWidget* owner, const QString& table)
    : OwnedDialog(owner), m_table(table), m_dataSet(DataStore::instance().createQuery()) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildLayout();
}

InsertDialog::~InsertDialog() = default;

void InsertDialog::buildLayout() {
    m_fieldsArea = new QScrollArea(this);
    m_fieldsArea->setObjectName(QStringLiteral("fieldsArea"));
    m_fieldsArea->setWidgetResizable(true);
    m_fieldsArea->setFocusPolicy(Qt::NoFocus);
    m_fieldsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* fields = new QWidget(m_fieldsArea);
    fields->setObjectName(QStringLiteral("fields"));
    m_fields = new QFormLayout(fields);
    m_fieldsArea->setWidget(fields);

    auto* note = new QLabel(QStringLiteral("* Обязательные для заполнения поля"), this);
    note->setObjectName(QStringLiteral("requiredNote"));
    m_okAction =
        buildAction(this, {.name = QStringLiteral("okAction"), .text = QStringLiteral("OK")});
    m_cancelAction = buildAction(
        this, {.name = QStringLiteral("cancelAction"), .text = QStringLiteral("Отмена")});
    auto* ok = addActionPushButton(this, m_okAction, QStringLiteral("okButton"));
    auto* cancel = addActionPushButton(this, m_cancelAction, QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(note);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fieldsArea, 1);
    layout->addLayout(buttons);

    connect(m_okAction, &QAction::triggered, this, &InsertDialog::onOkTriggered);
    connect(m_cancelAction, &QAction::triggered, this, &QDialog::reject);
}

QLineEdit* InsertDialog::addPlainEdit(const QString& objectName, const QString& label) {
    QWidget* fields = m_fields->parentWidget();
    auto* edit = new QLineEdit(fields);
    edit->setObjectName(objectName);
    edit->setMinimumWidth(kEditWidth);
    edit->installEventFilter(this);
    auto* caption = new QLabel(label, fields);
    caption->setBuddy(edit);
    m_fields->addRow(caption, edit);
    return edit;
}

QLineEdit* InsertDialog::addFieldEdit(const QString& objectName, const QString& label,
                                      const QString& field, int maxLength) {
    QLineEdit* edit = addPlainEdit(objectName, label);
    edit->setMaxLength(maxLength);
    m_fieldEdits.push_back({edit, field});
    return edit;
}

void InsertDialog::addWideField(QWidget* widget) {
    widget->setParent(m_fields->parentWidget());
    m_fields->addRow(widget);
}

std::optional<int> InsertDialog::insertRecord(const QString& proposedName) {
    m_proposedName = proposedName;
    m_dataSet->open();
    m_dataSet->insert();
    const int key = DataStore::instance().newKey(m_table);
    m_dataSet->field(QStringLiteral("PRKEY")).setAsInteger(key);
    // A new record's name leaves room for the "?" that hides it in its dictionary.
    m_keyEdit->setMaxLength(m_keyEdit->maxLength() - 1);
    initFields();
    if (!editRecord())
        return std::nullopt;
    return key;
}

bool InsertDialog::editRecord() {
    fitFieldsArea();
    loadFieldEdits();
    m_keyEdit->setFocus();
    return exec() == QDialog::Accepted;
}

// As large as the fields, up to two thirds of the screen's height; only the height scrolls.
void InsertDialog::fitFieldsArea() {
    const QSize fields = m_fieldsArea->widget()->sizeHint();
    const int frame = 2 * m_fieldsArea->frameWidth();
    const int scrollBar = m_fieldsArea->verticalScrollBar()->sizeHint().width();
    int height = fields.height() + frame;
    if (const QScreen* screen = this->screen())
        height = qMin(height, screen->availableGeometry().height() * 2 / 3);
    m_fieldsArea->setMinimumSize(fields.width() + frame + scrollBar, height);
}

void InsertDialog::loadFieldEdits() {
    for (const FieldEdit& f : m_fieldEdits)
        f.edit->setText(m_dataSet->field(f.field).asString());
}

// A field the user left as it was keeps its value, a null one included.
void InsertDialog::storeFieldEdits() {
    DataStore::instance().editIfBrowsing(*m_dataSet);
    for (const FieldEdit& f : m_fieldEdits) {
        fb::DataField& field = m_dataSet->field(f.field);
        if (f.edit->text() != field.asString())
            field.setAsString(f.edit->text());
    }
}

void InsertDialog::storeRecord() {
    DataStore::instance().postAndCommit(*m_dataSet);
}

void InsertDialog::onOkTriggered() {
    if (m_keyEdit->text().trimmed().isEmpty()) {
        dialogs::messageBox(this, QStringLiteral("Не заполнены ключевые поля"),
                            QStringLiteral("Ошибка"), Buttons::Ok, MessageIcon::Error);
        reject();
        return;
    }
    if (runGuarded([this] {
            storeFieldEdits();
            storeRecord();
        }))
        accept();
}

bool InsertDialog::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return OwnedDialog::eventFilter(watched, event);
}
