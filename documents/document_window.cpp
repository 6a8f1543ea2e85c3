#include "documents/document_window.h"

#include "core/date_time.h"
#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "core/numbers.h"
#include "documents/cash_order_windows.h"
#include "documents/document_partner_lookup.h"
#include "documents/partner_insert_dialog.h"
#include "documents/payment_type_insert_dialog.h"
#include "documents/payment_type_lookup.h"
#include "documents/payment_windows.h"
#include "shell/document_windows.h"
#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "store/data_store.h"
#include "store/printed_forms.h"
#include "store/product_options.h"
#include "store/user_rights.h"
#include "ui/action_builder.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/message_box.h"
#include "ui/pick_dialog.h"
#include "ui/tool_images.h"
#include "ui/widget_helpers.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The help topic of "Справка", the same for every document window.
constexpr int kHelpTopic = 3;

const QString kNegativeAmount = QStringLiteral("Число должно быть не отрицательным!");
const QString kBadDate = QStringLiteral("Укажите дату документа в виде ДД.ММ.ГГГГ!");

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString rightsArea(int type) {
    return type == kIncomeDocument ? QStringLiteral("IncomeDoc") : QStringLiteral("IssueDoc");
}

// The amount in an edit: a number with "." or "," as its separator, none when empty. A negative
// one is refused.
std::optional<Currency> amountOf(const QString& text) {
    if (text.trimmed().isEmpty())
        return std::nullopt;
    Currency amount;
    try {
        amount = strToCurrDot(QString(text).replace(QLatin1Char(','), QLatin1Char('.')));
    } catch (const ConvertError&) {
        throw Exception(QStringLiteral("'%1' не является числом!").arg(text));
    }
    if (amount.units < 0)
        throw Exception(kNegativeAmount);
    return amount;
}

QString withoutControls(const QString& text) {
    QString clean;
    for (QChar c : text)
        if (c.category() != QChar::Other_Control)
            clean += c;
    return clean;
}

DocumentWindow::PrintCommand& printCommand() {
    static DocumentWindow::PrintCommand command;
    return command;
}

bool opensLookup(int reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

} // namespace

int documentType(DocumentKind kind) {
    return kind == DocumentKind::IncomingPayment || kind == DocumentKind::CashReceipt
               ? kIncomeDocument
               : kIssueDocument;
}

DocumentKind documentKindOf(int type, int ownerType) {
    const bool income = type == kIncomeDocument;
    if (ownerType == 0)
        return income ? DocumentKind::IncomingPayment : DocumentKind::PaymentOrder;
    return income ? DocumentKind::CashReceipt : DocumentKind::CashDisbursement;
}

// ---- Opening ----

std::unique_ptr<DocumentWindow> DocumentWindow::create(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::IncomingPayment:
        return std::unique_ptr<DocumentWindow>(new IncomingPaymentWindow);
    case DocumentKind::PaymentOrder:
        return std::unique_ptr<DocumentWindow>(new PaymentOrderWindow);
    case DocumentKind::CashReceipt:
        return std::unique_ptr<DocumentWindow>(new CashReceiptWindow);
    case DocumentKind::CashDisbursement:
        break;
    }
    return std::unique_ptr<DocumentWindow>(new CashDisbursementWindow);
}

DocumentWindow* DocumentWindow::openNew(DocumentKind kind) {
    std::unique_ptr<DocumentWindow> window = create(kind);
    window->openNewDocument();
    window->showWindow();
    return window.release();
}

DocumentWindow* DocumentWindow::openExisting(DocumentKind kind, int key) {
    std::unique_ptr<DocumentWindow> window = create(kind);
    window->openExistingDocument(key);
    window->showWindow();
    return window.release();
}

DocumentWindow::DocumentWindow(DocumentKind kind, const QString& title)
    : RunWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_kind(kind), m_title(title), m_documents(DataStore::instance()) {
    setObjectName(QStringLiteral("documentWindow"));
    m_document.type = documentType(kind);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildCommands());
    buildHead();
    layout->addWidget(m_head);

    QAction* escape = buildAction(
        this, {.name = QStringLiteral("escapeAction"), .shortcut = QKeySequence(Qt::Key_Escape)});
    escape->setShortcutContext(Qt::WindowShortcut);
    addAction(escape);
    connect(escape, &QAction::triggered, this, &QWidget::close);
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::setPrintCommand(PrintCommand command) {
    printCommand() = std::move(command);
}

QString DocumentWindow::formClass() const {
    switch (m_kind) {
    case DocumentKind::IncomingPayment:
        return QString::fromLatin1(kPaymentIncomeForm);
    case DocumentKind::PaymentOrder:
        return QString::fromLatin1(kPaymentIssueForm);
    case DocumentKind::CashReceipt:
        return QString::fromLatin1(kCashReceiptForm);
    case DocumentKind::CashDisbursement:
        break;
    }
    return QString::fromLatin1(kCashDisbursementForm);
}

int DocumentWindow::type() const {
    return documentType(m_kind);
}

void DocumentWindow::buildHead() {
    m_head = new QWidget(this);
    m_head->setObjectName(QStringLiteral("head"));
    m_headLayout = new QVBoxLayout(m_head);
    m_headLayout->addLayout(buildNumberRow());
    m_partnerLookupAction = buildAction(this, {.name = QStringLiteral("partnerLookupAction")});
    m_paymentTypeLookupAction =
        buildAction(this, {.name = QStringLiteral("paymentTypeLookupAction")});
    m_headLayout->addWidget(makeLookupGroup(QStringLiteral("partner"), QStringLiteral("Партнер"),
                                            5017, m_partnerEdit, m_partnerLookupAction));
    m_headLayout->addWidget(makeLookupGroup(QStringLiteral("paymentType"),
                                            QStringLiteral("Tип платежа:"), 5018, m_paymentTypeEdit,
                                            m_paymentTypeLookupAction));
    m_partnerEdit->setMinimumWidth(420);
    m_amountGroup = makeGroup(QStringLiteral("amountGroup"), QStringLiteral("Сумма"), 5019);
    m_amountEdit = addAmountEdit(m_amountGroup, QStringLiteral("amountEdit"));

    bindEdit(m_numberEdit, DocumentField::Number);
    bindEdit(m_dateEdit, DocumentField::Date);
    bindEdit(m_paymentTypeEdit, DocumentField::PaymentType);
    bindEdit(m_amountEdit, DocumentField::Amount);
    m_partnerEdit->installEventFilter(this);
    connect(m_partnerLookupAction, &QAction::triggered, this,
            &DocumentWindow::onPartnerLookupTriggered);
    connect(m_paymentTypeLookupAction, &QAction::triggered, this,
            &DocumentWindow::onPaymentTypeLookupTriggered);
}

// The document's name with its number, and its date.
QLayout* DocumentWindow::buildNumberRow() {
    m_titleLabel = new QLabel(m_title, m_head);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_numberEdit = new QLineEdit(m_head);
    m_numberEdit->setObjectName(QStringLiteral("numberEdit"));
    m_numberEdit->setMaxLength(20);
    m_numberEdit->setFixedWidth(130);
    const int numberHelp = type() == kIssueDocument ? 5028 : 5015;
    help::setHelpContext(m_titleLabel, numberHelp);
    help::setHelpContext(m_numberEdit, numberHelp);
    auto* fromLabel = new QLabel(QStringLiteral("От"), m_head);
    fromLabel->setObjectName(QStringLiteral("fromLabel"));
    m_dateEdit = new QLineEdit(m_head);
    m_dateEdit->setObjectName(QStringLiteral("dateEdit"));
    m_dateEdit->setInputMask(QStringLiteral("99.99.9999;_"));
    m_dateEdit->setFixedWidth(110);
    help::setHelpContext(fromLabel, 5016);
    help::setHelpContext(m_dateEdit, 5016);
    auto* row = new QHBoxLayout;
    row->addWidget(m_titleLabel);
    row->addWidget(m_numberEdit);
    row->addSpacing(12);
    row->addWidget(fromLabel);
    row->addWidget(m_dateEdit);
    row->addStretch();
    return row;
}

// A group with the read-only edit of a field chosen in a lookup and the drop-down button of its
// lookup's action.
QGroupBox* DocumentWindow::makeLookupGroup(const QString& name, const QString& caption,
                                           int helpContext, QLineEdit*& edit,
                                           QAction* lookupAction) {
    QGroupBox* group = makeGroup(name + QStringLiteral("Group"), caption, helpContext);
    edit = addGroupEdit(group, name + QStringLiteral("Edit"), 100);
    edit->setReadOnly(true);
    auto* button = new QToolButton(group);
    button->setObjectName(name + QStringLiteral("Button"));
    button->setDefaultAction(lookupAction);
    button->setArrowType(Qt::DownArrow);
    button->setFocusPolicy(Qt::NoFocus);
    group->layout()->addWidget(button);
    return group;
}

QGroupBox* DocumentWindow::makeGroup(const QString& objectName, const QString& caption,
                                     int helpContext, Qt::Orientation orientation) {
    auto* group = new QGroupBox(caption, m_head);
    group->setObjectName(objectName);
    help::setHelpContext(group, helpContext);
    auto* layout = new QBoxLayout(
        orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, group);
    layout->setContentsMargins(6, 2, 6, 4);
    return group;
}

QLineEdit* DocumentWindow::addGroupEdit(QGroupBox* group, const QString& objectName,
                                        int maxLength) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    group->layout()->addWidget(edit);
    return edit;
}

QLineEdit* DocumentWindow::addAmountEdit(QGroupBox* group, const QString& objectName) {
    QLineEdit* edit = addGroupEdit(group, objectName, 20);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,13}([.,][0-9]{0,4})?")), edit));
    return edit;
}

// The document's commands on the left, the window's on the right.
QWidget* DocumentWindow::buildCommands() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("commands"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_saveAction =
        addCommand(bar, QStringLiteral("save"), QStringLiteral("Сохранить"),
                   QStringLiteral("Сохранение документа"),
                   themeIcon("document-save", QStyle::SP_DialogSaveButton), 5010, m_saveButton);
    m_editAction =
        addCommand(bar, QStringLiteral("edit"), QStringLiteral("Коррекция"),
                   QStringLiteral("Коррекция документа"), toolImage(4), 5011, m_editButton);
    m_deleteAction =
        addCommand(bar, QStringLiteral("delete"), QStringLiteral("Удалить"),
                   QStringLiteral("Удалить документ"), toolImage(9), 5012, m_deleteButton);
    m_printAction =
        addCommand(bar, QStringLiteral("print"), QStringLiteral("Печать"), QString(),
                   themeIcon("document-print", QStyle::SP_FileIcon), 5022, m_printButton);
    m_historyAction = addCommand(
        bar, QStringLiteral("history"), QStringLiteral("История"), QString(),
        themeIcon("document-open-recent", QStyle::SP_FileDialogInfoView), 5013, m_historyButton);
    layout->addStretch();
    QToolButton* helpButton = nullptr;
    QToolButton* whatsThisButton = nullptr;
    QAction* help = addCommand(bar, QStringLiteral("help"), QStringLiteral("Справка"), QString(),
                               toolImage(17), 1026, helpButton);
    QAction* whatsThis = addCommand(bar, QStringLiteral("whatsThis"), QStringLiteral("Что это?"),
                                    QString(), toolImage(16), 1025, whatsThisButton);
    QAction* close =
        addCommand(bar, QStringLiteral("close"), QStringLiteral("Закрыть"),
                   QStringLiteral("Закрытие документа"), toolImage(11), 5014, m_closeButton);

    connect(m_saveAction, &QAction::triggered, this, &DocumentWindow::onSaveTriggered);
    connect(m_editAction, &QAction::triggered, this, &DocumentWindow::onEditTriggered);
    connect(m_deleteAction, &QAction::triggered, this, &DocumentWindow::onDeleteTriggered);
    connect(m_printAction, &QAction::triggered, this, &DocumentWindow::onPrintTriggered);
    connect(m_historyAction, &QAction::triggered, this, &DocumentWindow::onHistoryTriggered);
    connect(help, &QAction::triggered, this, &DocumentWindow::onHelpTriggered);
    connect(whatsThis, &QAction::triggered, this, &DocumentWindow::onWhatsThisTriggered);
    connect(close, &QAction::triggered, this, &QWidget::close);
    m_saveButton->installEventFilter(this);
    return bar;
}

// A command's action and the large button that shows it on bar, its caption under its image,
// hidden and shown with it.
QAction* DocumentWindow::addCommand(QWidget* bar, const QString& name, const QString& caption,
                                    const QString& hint, const QIcon& icon, int helpContext,
                                    QToolButton*& button) {
    QAction* action = buildAction(this, {.name = name + QStringLiteral("Action"),
                                         .text = caption,
                                         .statusTip = hint,
                                         .helpContext = helpContext});
    action->setIcon(icon);
    action->setToolTip(hint);
    QToolButton* shown = new QToolButton(bar);
    shown->setObjectName(name + QStringLiteral("Button"));
    shown->setDefaultAction(action);
    shown->setIconSize(QSize(32, 32));
    shown->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    shown->setAutoRaise(true);
    shown->setMinimumSize(65, 52);
    setHelpContext(shown, helpContext);
    followVisibility(shown, action);
    bar->layout()->addWidget(shown);
    button = shown;
    return action;
}

void DocumentWindow::setFieldOrder(const QList<QWidget*>& fields) {
    m_fieldOrder = fields;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        setTabOrder(fields[i], fields[i + 1]);
}

DocumentWindow::DocumentField DocumentWindow::purposeField(int line) {
    return DocumentField(int(DocumentField::Purpose1) + line);
}

void DocumentWindow::bindEdit(QLineEdit* edit, DocumentField field) {
    m_fieldEdits.append({edit, field, QString()});
    edit->installEventFilter(this);
}

void DocumentWindow::bindExtraEdit(QLineEdit* edit, const QString& key) {
    m_fieldEdits.append({edit, DocumentField::Extra, key});
    edit->installEventFilter(this);
}

void DocumentWindow::prepareDocument() {
    const UserRights rights(DataStore::instance());
    const QString area = rightsArea(type());
    m_editAction->setEnabled(rights.hasPermission(area + QLatin1Char('3')));
    m_deleteAction->setEnabled(rights.hasPermission(area + QLatin1Char('4')));
    m_printAction->setEnabled(printCommand() && rights.hasPermission(area + QLatin1Char('7')));
}

void DocumentWindow::openNewDocument() {
    m_state = State::New;
    prepareDocument();
    CashDocument document = m_documents.newDocument(type());
    prepareNewDocument(document);
    m_document = document;
    showFields();
    setCommandsForState();
    m_numberEdit->setFocus();
}

void DocumentWindow::openExistingDocument(int key) {
    m_state = State::Viewing;
    prepareDocument();
    const std::optional<CashDocument> read = m_documents.read(key, type());
    if (!read)
        throw Exception(QStringLiteral("Документ не существует!"));
    m_document = *read;
    m_asRead = *read;
    showFields();
    m_documents.noteOpening(key, type());
    setCommandsForState();
}

void DocumentWindow::showWindow() {
    setAttribute(Qt::WA_DeleteOnClose);
    DocumentWindows::add(this);
    setFixedSize(sizeHint());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void DocumentWindow::prepareNewDocument(CashDocument&) {}

void DocumentWindow::paymentTypeChanged(CashDocument&) {}

void DocumentWindow::proposeIssueNumber(CashDocument& document) {
    if (ProductOptions(DataStore::instance()).issueAutoNumbering())
        document.number = m_documents.proposedIssueNumber();
}

// ---- Fields ----

void DocumentWindow::showPartner() {
    m_partnerEdit->setText(m_document.partner == 0
                               ? QString()
                               : DataStore::instance().fieldValue(QStringLiteral("PARTS"),
                                                                  QStringLiteral("LNAM"),
                                                                  m_document.partner));
}

void DocumentWindow::showFields() {
    showPartner();
    for (const FieldEdit& field : m_fieldEdits)
        field.edit->setText(shownText(field, m_document));
    updateCaption();
}

void DocumentWindow::showDocument(const CashDocument& changed) {
    const CashDocument before = m_document;
    m_document = changed;
    if (changed.partner != before.partner)
        showPartner();
    for (const FieldEdit& field : m_fieldEdits) {
        const QString text = shownText(field, changed);
        if (text != shownText(field, before))
            field.edit->setText(text);
    }
    updateCaption();
}

void DocumentWindow::updateCaption() {
    setWindowTitle(m_title + QLatin1Char(' ') + m_document.number);
}

QString DocumentWindow::shownText(const FieldEdit& field, const CashDocument& document) const {
    switch (field.field) {
    case DocumentField::Number:
        return document.number;
    case DocumentField::Date:
        return document.date ? dateFieldText(*document.date) : QString();
    case DocumentField::PaymentType:
        return document.paymentType;
    case DocumentField::Amount:
        return amountText(document.amount);
    case DocumentField::TaxPart:
        return amountText(document.taxPart);
    case DocumentField::Extra:
        return getKeyValue(document.extra, field.extraKey);
    case DocumentField::Purpose1:
    case DocumentField::Purpose2:
    case DocumentField::Purpose3:
        break;
    }
    return document.purposes[int(field.field) - int(DocumentField::Purpose1)];
}

void DocumentWindow::storeField(const FieldEdit& field) {
    const QString text = field.edit->text();
    if (field.field == DocumentField::Date && !QDate::fromString(text, kDateFormat).isValid())
        throw Exception(kBadDate);
    if (field.field == DocumentField::PaymentType || text == shownText(field, m_document))
        return;
    CashDocument changed = m_document;
    switch (field.field) {
    case DocumentField::Number:
        changed.number = text;
        break;
    case DocumentField::Date:
        changed.date = datetime::encode(QDate::fromString(text, kDateFormat));
        break;
    case DocumentField::Amount:
        changed.amount = amountOf(text);
        break;
    case DocumentField::TaxPart:
        changed.taxPart = amountOf(text);
        break;
    case DocumentField::Extra:
        changed.extra = setKeyValue(changed.extra, field.extraKey, withoutControls(text));
        break;
    case DocumentField::Purpose1:
    case DocumentField::Purpose2:
    case DocumentField::Purpose3:
        changed.purposes[int(field.field) - int(DocumentField::Purpose1)] = text;
        break;
    case DocumentField::PaymentType:
        return;
    }
    showDocument(changed);
}

bool DocumentWindow::storeFieldGuarded(const FieldEdit& field) {
    if (runGuarded([&] { storeField(field); }))
        return true;
    field.edit->setText(shownText(field, m_document));
    return false;
}

bool DocumentWindow::storeFields() {
    for (const FieldEdit& field : m_fieldEdits)
        if (!storeFieldGuarded(field))
            return false;
    return true;
}

const DocumentWindow::FieldEdit* DocumentWindow::fieldEditOf(const QObject* edit) const {
    for (const FieldEdit& field : m_fieldEdits)
        if (field.edit == edit)
            return &field;
    return nullptr;
}

void DocumentWindow::choosePartner(int key) {
    CashDocument changed = m_document;
    changed.partner = key;
    if (const std::optional<QString> reason = m_documents.latestPaymentType(changed)) {
        changed.paymentType = *reason;
        paymentTypeChanged(changed);
    }
    showDocument(changed);
}

void DocumentWindow::choosePaymentType(const QString& text) {
    CashDocument changed = m_document;
    changed.paymentType = text;
    paymentTypeChanged(changed);
    showDocument(changed);
}

// ---- States and keys ----

void DocumentWindow::setCommandsForState() {
    m_head->setEnabled(isEditing());
    m_saveAction->setVisible(isEditing());
    m_editAction->setVisible(m_state == State::Viewing);
    m_deleteAction->setVisible(m_state == State::Viewing);
    m_printAction->setVisible(m_state != State::New);
}

QWidget* DocumentWindow::widgetAfterEnter(QWidget* field) const {
    const qsizetype index = m_fieldOrder.indexOf(field);
    if (index >= 0 && index + 1 < m_fieldOrder.size())
        return m_fieldOrder[index + 1];
    return m_saveButton;
}

// Moving on opens the next field's lookup, also while the window waits to be active again after
// a dialog (its focus then comes with the activation, which opens none); but not when a lookup
// was cancelled because the program lost the focus.
void DocumentWindow::focusAfter(QWidget* field) {
    QWidget* next = widgetAfterEnter(field);
    next->setFocus(Qt::TabFocusReason);
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        openLookupOnFocus(next, Qt::TabFocusReason);
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKeyPress(event)) {
        if (watched == m_saveButton)
            m_saveAction->trigger();
        else
            focusAfter(static_cast<QWidget*>(watched));
        return true;
    }
    if (event->type() == QEvent::FocusIn)
        openLookupOnFocus(watched, static_cast<QFocusEvent*>(event)->reason());
    if (event->type() == QEvent::FocusOut && isEditing() && !m_closing) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const FieldEdit* field = fieldEditOf(watched);
        if (field && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            storeFieldGuarded(*field);
    }
    return RunWindow::eventFilter(watched, event);
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_askOnClose && isEditing() &&
        dialogs::messageBox(this, QStringLiteral("Отменить изменения?"), QStringLiteral("Закрытие"),
                            Buttons::YesNo, MessageIcon::Question,
                            DefaultButton::Second) != Answer::Yes) {
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
    emit closed(documentKey());
    DocumentWindows::tellClosed(type(), documentKey());
}

// ---- Lookups ----

void DocumentWindow::openLookupOnFocus(QObject* field, int reason) {
    if (!isEditing() || !opensLookup(reason))
        return;
    // After the focus has settled: the pop-up takes the focus itself.
    if (field == m_partnerEdit)
        QMetaObject::invokeMethod(this, &DocumentWindow::openPartnerLookup, Qt::QueuedConnection);
    else if (field == m_paymentTypeEdit)
        QMetaObject::invokeMethod(this, &DocumentWindow::openPaymentTypeLookup,
                                  Qt::QueuedConnection);
}

// One drop-down at a time; one that has closed is only waiting to report.
bool DocumentWindow::lookupShown() const {
    for (const LookupPopup* lookup : findChildren<LookupPopup*>())
        if (lookup->isVisible())
            return true;
    return false;
}

void DocumentWindow::onPartnerLookupTriggered() {
    if (m_partnerEdit->hasFocus())
        openPartnerLookup();
    else
        m_partnerEdit->setFocus(Qt::MouseFocusReason);
}

void DocumentWindow::onPaymentTypeLookupTriggered() {
    if (m_paymentTypeEdit->hasFocus())
        openPaymentTypeLookup();
    else
        m_paymentTypeEdit->setFocus(Qt::MouseFocusReason);
}

void DocumentWindow::openPartnerLookup() {
    if (!isEditing() || m_closing || lookupShown())
        return;
    auto lookup = std::make_unique<DocumentPartnerLookup>(this);
    DocumentPartnerLookup* popup = lookup.get();
    popup->setPartnerType(type());
    popup->setCurrentKey(m_document.partner);
    popup->setOnChosen([this, popup] { takePartner(*popup); });
    popup->setOnCancelled([this] { focusAfter(m_partnerEdit); });
    popup->setOnNotFound([this](const QString& text) { return offerNewPartner(text); });
    if (runGuarded([&] { popup->popUp(m_partnerEdit, QString()); }))
        lookup.release(); // it frees itself when it closes
}

// A lookup reports a choice also when nothing was selected (an empty list): that is no choice,
// and the lookup opens again.
void DocumentWindow::takePartner(const LookupListPopup& lookup) {
    if (!lookup.hasChoice()) {
        showWarning(
            this, QStringLiteral("Выберите Партнера из существующего списка или добавьте нового!"));
        openPartnerLookup();
        return;
    }
    if (runGuarded([&] { choosePartner(lookup.chosenKey()); }))
        focusAfter(m_partnerEdit);
}

bool DocumentWindow::offerNewPartner(const QString& text) {
    if (!messageBoxRepeat(this, QStringLiteral("Добавление"),
                          QStringLiteral("Создать нового партнера?"), Buttons::OkCancel, Answer::Ok,
                          1))
        return false;
    const std::optional<int> key = type() == kIncomeDocument
                                       ? PartnerInsertDialog::insertPayer(this, text)
                                       : PartnerInsertDialog::insertRecipient(this, text);
    if (!key)
        return false;
    choosePartner(*key);
    focusAfter(m_partnerEdit);
    return true;
}

void DocumentWindow::openPaymentTypeLookup() {
    if (!isEditing() || m_closing || lookupShown())
        return;
    auto lookup = std::make_unique<PaymentTypeLookup>(this);
    PaymentTypeLookup* popup = lookup.get();
    const QString initialText = m_document.paymentType;
    popup->setPaymentType(type());
    popup->setOnChosen([this, popup] { takePaymentType(*popup); });
    popup->setOnCancelled([this] { focusAfter(m_paymentTypeEdit); });
    popup->setOnNotFound([this, initialText](const QString& text) {
        return offerNewPaymentType(text, initialText);
    });
    if (runGuarded([&] { popup->popUp(m_paymentTypeEdit, initialText); }))
        lookup.release();
}

void DocumentWindow::takePaymentType(const LookupListPopup& lookup) {
    if (!lookup.hasChoice()) {
        showWarning(this, QStringLiteral(
                              "Выберите Тип платежа из существующего списка или добавьте новый!"));
        openPaymentTypeLookup();
        return;
    }
    runGuarded([&] { choosePaymentType(lookup.chosenText()); });
    focusAfter(m_paymentTypeEdit);
}

bool DocumentWindow::offerNewPaymentType(const QString& text, const QString& initialText) {
    if (text == initialText) {
        choosePaymentType(text);
    } else if (messageBoxRepeat(this, QStringLiteral("Добавление"),
                                QStringLiteral("Добавлять этот тип платежа в справочник или нет?"),
                                Buttons::YesNo, Answer::Yes, 1)) {
        const std::optional<int> key =
            PaymentTypeInsertDialog::insertPaymentType(this, text, type());
        if (key)
            choosePaymentType(DataStore::instance().fieldValue(QStringLiteral("REASONS"),
                                                               QStringLiteral("REASON"), *key));
    } else {
        choosePaymentType(text);
    }
    focusAfter(m_paymentTypeEdit);
    return true;
}

// ---- Commands ----

bool DocumentWindow::validateDocument() {
    const QString problem = saveProblem(m_document);
    if (problem.isEmpty())
        return true;
    dialogs::messageBox(this, problem, QStringLiteral("Сохранение"), Buttons::Ok,
                        MessageIcon::Warning);
    return false;
}

void DocumentWindow::onSaveTriggered() {
    if (!storeFields() || !validateDocument())
        return;
    if (!runGuarded([this] { saveDocument(); }))
        return;
    m_askOnClose = false;
    close();
}

void DocumentWindow::saveDocument() {
    try {
        if (m_state == State::New)
            m_documents.insert(m_document);
        else
            m_documents.update(m_document, m_asRead);
    } catch (const DocumentNotStored&) {
        dialogs::showMessage(QStringLiteral("Не могу сохранить введенные данные!"));
        throw;
    }
}

void DocumentWindow::onEditTriggered() {
    m_state = State::Correcting;
    setCommandsForState();
    m_numberEdit->setFocus();
}

void DocumentWindow::onDeleteTriggered() {
    const Answer answer = dialogs::messageBox(
        this, QStringLiteral("Вы уверенны, что хотите удалить документ?"),
        QStringLiteral("Удаление"), Buttons::YesNo, MessageIcon::Question, DefaultButton::Second);
    if (answer == Answer::Yes && !runGuarded([this] { deleteDocument(); }))
        return;
    m_askOnClose = false;
    close();
}

void DocumentWindow::deleteDocument() {
    try {
        m_documents.remove(m_asRead);
    } catch (const DocumentNotStored&) {
        dialogs::showMessage(QStringLiteral("Не могу сохранить введенные данные!"));
        throw;
    }
}

void DocumentWindow::onPrintTriggered() {
    bool closes = false;
    if (runGuarded([&] { closes = printCommand() && printCommand()(*this); }) && closes)
        close();
}

void DocumentWindow::onHistoryTriggered() {
    runGuarded([this] {
        std::unique_ptr<PickDialog> dialog(
            PickDialog::create(DataStore::instance().database(), this));
        dialog->setObjectName(QStringLiteral("historyDialog"));
        dialog->setCloseOnPick(true);
        dialog->setWindowTitle(QStringLiteral("История работы с документом"));
        CashDocuments::openHistory(dialog->query(), documentKey());
        setGridColumns(
            *dialog->grid(),
            {{QStringLiteral("DAT"), Qt::AlignLeft, QStringLiteral("Дата / Время"), 150, {}},
             {QStringLiteral("LNAM"), Qt::AlignLeft, QStringLiteral("Пользователь"), 400, {}}});
        dialog.release()->execute({}, {});
    });
}

void DocumentWindow::onHelpTriggered() {
    if (MainWindowBase* main = MainWindowBase::current())
        main->showHelpContextFor(this, kHelpTopic);
}

void DocumentWindow::onWhatsThisTriggered() {
    if (MainWindowBase* main = MainWindowBase::current())
        main->enterContextHelpMode();
}
