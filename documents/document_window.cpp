#include "documents/document_window.h"

#include "core/date_time.h"
#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "core/numbers.h"
#include "documents/book_query.h"
#include "documents/cash_order_windows.h"
#include "documents/document_number.h"
#include "documents/document_partner_lookup.h"
#include "documents/partner_insert_dialog.h"
#include "documents/payment_type_insert_dialog.h"
#include "documents/payment_type_lookup.h"
#include "documents/payment_windows.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/error.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "shell/document_windows.h"
#include "shell/help_viewer.h"
#include "shell/main_window_base.h"
#include "store/data_store.h"
#include "store/product_options.h"
#include "store/stored_row.h"
#include "store/user_rights.h"
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

constexpr int kIncomeType = 1;
constexpr int kIssueType = 2;
// The help topic of "Справка", the same for every document window.
constexpr int kHelpTopic = 3;

constexpr char kRowSql[] = "SELECT O.*\nFROM OPER O\nWHERE O.PRKEY=:PRKEY\nand O.TYP=:TYP";
constexpr char kInsertSql[] =
    "INSERT INTO OPER (PRKEY, TYP, SUM1, SUM2, NUM, LPART, PURP1, PURP2, PURP3, REASON, DAT, "
    "DAT2, ETC)\nVALUES (:PRKEY, :TYP, :SUM1, :SUM2, :NUM, :LPART, :PURP1, :PURP2, :PURP3, "
    ":REASON, :DAT, :DAT2, :ETC)";
constexpr char kModifySql[] =
    "UPDATE OPER SET PRKEY=:PRKEY, TYP=:TYP, SUM1=:SUM1, SUM2=:SUM2, NUM=:NUM, LPART=:LPART, "
    "PURP1=:PURP1, PURP2=:PURP2, PURP3=:PURP3, REASON=:REASON, DAT=:DAT, DAT2=:DAT2, ETC=:ETC\n"
    "WHERE PRKEY=:OLD_PRKEY";
constexpr char kDeleteSql[] = "DELETE FROM OPER WHERE PRKEY=:OLD_PRKEY";

// The payment type of the partner's latest other document of the type.
constexpr char kPartnerRuleSql[] = "SELECT O.REASON,O.DAT FROM OPER O\n"
                                   "WHERE O.TYP=:ITYP and O.LPART=:ILPART\n"
                                   "  and O.PRKEY<>:PRKEY\n"
                                   "ORDER BY O.DAT DESC,O.PRKEY DESC";

constexpr char kHistoryInsertSql[] = "INSERT INTO HISTORY(PRKEY,TYP,LDOC,LUSER,DAT)\n"
                                     "VALUES(:PRKEY,:TYP,:LDOC,:LUSER,:DAT)";
constexpr char kHistoryListSql[] = "SELECT H.*, U.LNAM\n"
                                   "FROM HISTORY H, USERS U\n"
                                   "WHERE U.PRKEY=H.LUSER\n"
                                   "and H.LDOC=:LDOC\n"
                                   "ORDER BY H.DAT DESCENDING";

const QString kNegativeAmount = QStringLiteral("Число должно быть не отрицательным!");
const QString kBadDate = QStringLiteral("Укажите дату документа в виде ДД.ММ.ГГГГ!");
const QString kChangedElsewhere =
    QStringLiteral("Документ изменен или удален в другом окне или другим пользователем, пока "
                   "был открыт здесь. Закройте окно без сохранения и откройте документ снова.");

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString rightsArea(int type) {
    return type == kIncomeType ? QStringLiteral("IncomeDoc") : QStringLiteral("IssueDoc");
}

// The amount in an edit: a number with "." or "," as its separator.
double amountOf(const QString& text) {
    try {
        return strToCurrDot(QString(text).replace(QLatin1Char(','), QLatin1Char('.'))).toDouble();
    } catch (const ConvertError&) {
        throw Exception(QStringLiteral("'%1' не является числом!").arg(text));
    }
}

void refuseNegative(const QVariant& value) {
    if (!value.isNull() && value.toDouble() < 0)
        throw Exception(kNegativeAmount);
}

QString withoutControls(const QString& text) {
    QString clean;
    for (QChar c : text)
        if (c.category() != QChar::Other_Control)
            clean += c;
    return clean;
}

// One HISTORY row: the user opened (or first saved) the document now.
void writeHistory(fb::Transaction& transaction, int documentKey, int type) {
    if (documentKey == 0)
        return;
    DataStore& store = DataStore::instance();
    const int key = store.newKey(QStringLiteral("HISTORY"));
    fb::Statement insert(transaction, QString::fromLatin1(kHistoryInsertSql));
    insert.param(QStringLiteral("PRKEY")).setInteger(key);
    insert.param(QStringLiteral("TYP")).setInteger(type);
    insert.param(QStringLiteral("LDOC")).setInteger(documentKey);
    insert.param(QStringLiteral("LUSER")).setInteger(store.userKey());
    insert.param(QStringLiteral("DAT")).setDateTime(datetime::now());
    insert.execute();
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
    return kind == DocumentKind::IncomingPayment || kind == DocumentKind::CashReceipt ? kIncomeType
                                                                                      : kIssueType;
}

DocumentKind documentKindOf(int type, int ownerType) {
    const bool income = type == kIncomeType;
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
      m_kind(kind), m_title(title),
      m_row(std::make_unique<fb::DataSet>(DataStore::instance().database())) {
    setObjectName(QStringLiteral("documentWindow"));
    m_row->setSQL(QString::fromLatin1(kRowSql));
    m_row->setInsertSQL(QString::fromLatin1(kInsertSql));
    m_row->setModifySQL(QString::fromLatin1(kModifySql));
    m_row->setDeleteSQL(QString::fromLatin1(kDeleteSql));
    m_row->prepare();
    m_row->field(QStringLiteral("SUM1")).setOnValidate(refuseNegative);
    m_row->field(QStringLiteral("SUM2")).setOnValidate(refuseNegative);
    m_row->field(QStringLiteral("LPART")).setOnChange([this](fb::DataField&) {
        applyPartnerRule();
    });
    connect(m_row.get(), &fb::DataSet::fieldChanged, this, &DocumentWindow::onFieldChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildCommands());
    buildHead();
    layout->addWidget(m_head);

    auto* escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
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
    m_headLayout->addWidget(makeLookupGroup(QStringLiteral("partner"), QStringLiteral("Партнер"),
                                            5017, m_partnerEdit, m_partnerButton));
    m_headLayout->addWidget(makeLookupGroup(QStringLiteral("paymentType"),
                                            QStringLiteral("Tип платежа:"), 5018, m_paymentTypeEdit,
                                            m_paymentTypeButton));
    m_partnerEdit->setMinimumWidth(420);
    m_amountGroup = makeGroup(QStringLiteral("amountGroup"), QStringLiteral("Сумма"), 5019);
    m_amountEdit = addAmountEdit(m_amountGroup, QStringLiteral("amountEdit"));

    bindEdit(m_numberEdit, QStringLiteral("NUM"), FieldKind::Text);
    bindEdit(m_dateEdit, QStringLiteral("DAT"), FieldKind::Date);
    bindEdit(m_paymentTypeEdit, QStringLiteral("REASON"), FieldKind::Shown);
    bindEdit(m_amountEdit, QStringLiteral("SUM1"), FieldKind::Amount);
    m_partnerEdit->installEventFilter(this);
    connect(m_partnerButton, &QToolButton::clicked, this, &DocumentWindow::onPartnerButtonClicked);
    connect(m_paymentTypeButton, &QToolButton::clicked, this,
            &DocumentWindow::onPaymentTypeButtonClicked);
}

// The document's name with its number, and its date.
QLayout* DocumentWindow::buildNumberRow() {
    m_titleLabel = new QLabel(m_title, m_head);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_numberEdit = new QLineEdit(m_head);
    m_numberEdit->setObjectName(QStringLiteral("numberEdit"));
    m_numberEdit->setMaxLength(20);
    m_numberEdit->setFixedWidth(130);
    const int numberHelp = type() == kIssueType ? 5028 : 5015;
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

// A group with the read-only edit of a field chosen in a lookup and its drop-down button.
QGroupBox* DocumentWindow::makeLookupGroup(const QString& name, const QString& caption,
                                           int helpContext, QLineEdit*& edit,
                                           QToolButton*& button) {
    QGroupBox* group = makeGroup(name + QStringLiteral("Group"), caption, helpContext);
    edit = addGroupEdit(group, name + QStringLiteral("Edit"), 100);
    edit->setReadOnly(true);
    button = new QToolButton(group);
    button->setObjectName(name + QStringLiteral("Button"));
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

QWidget* DocumentWindow::buildCommands() {
    struct Command {
        QToolButton** button;
        const char* name;
        const char* caption;
        const char* hint;
        QIcon icon;
        int helpContext;
    };
    QToolButton* helpButton = nullptr;
    QToolButton* whatsThisButton = nullptr;
    const Command documentCommands[] = {
        {&m_saveButton, "saveButton", "Сохранить", "Сохранение документа",
         themeIcon("document-save", QStyle::SP_DialogSaveButton), 5010},
        {&m_editButton, "editButton", "Коррекция", "Коррекция документа", toolImage(4), 5011},
        {&m_deleteButton, "deleteButton", "Удалить", "Удалить документ", toolImage(9), 5012},
        {&m_printButton, "printButton", "Печать", "",
         themeIcon("document-print", QStyle::SP_FileIcon), 5022},
        {&m_historyButton, "historyButton", "История", "",
         themeIcon("document-open-recent", QStyle::SP_FileDialogInfoView), 5013},
    };
    const Command windowCommands[] = {
        {&helpButton, "helpButton", "Справка", "", toolImage(17), 1026},
        {&whatsThisButton, "whatsThisButton", "Что это?", "", toolImage(16), 1025},
        {&m_closeButton, "closeButton", "Закрыть", "Закрытие документа", toolImage(11), 5014},
    };
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("commands"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    for (const Command& c : documentCommands)
        *c.button = addCommand(bar, QString::fromLatin1(c.name), QString::fromUtf8(c.caption),
                               QString::fromUtf8(c.hint), c.icon, c.helpContext);
    layout->addStretch();
    for (const Command& c : windowCommands)
        *c.button = addCommand(bar, QString::fromLatin1(c.name), QString::fromUtf8(c.caption),
                               QString::fromUtf8(c.hint), c.icon, c.helpContext);

    connect(m_saveButton, &QToolButton::clicked, this, &DocumentWindow::onSaveClicked);
    connect(m_editButton, &QToolButton::clicked, this, &DocumentWindow::onEditClicked);
    connect(m_deleteButton, &QToolButton::clicked, this, &DocumentWindow::onDeleteClicked);
    connect(m_printButton, &QToolButton::clicked, this, &DocumentWindow::onPrintClicked);
    connect(m_historyButton, &QToolButton::clicked, this, &DocumentWindow::onHistoryClicked);
    connect(helpButton, &QToolButton::clicked, this, &DocumentWindow::onHelpClicked);
    connect(whatsThisButton, &QToolButton::clicked, this, &DocumentWindow::onWhatsThisClicked);
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::close);
    m_saveButton->installEventFilter(this);
    return bar;
}

QIcon DocumentWindow::themeIcon(const char* name, int fallback) const {
    return QIcon::fromTheme(QString::fromLatin1(name),
                            style()->standardIcon(QStyle::StandardPixmap(fallback)));
}

QToolButton* DocumentWindow::addCommand(QWidget* bar, const QString& name, const QString& caption,
                                        const QString& hint, const QIcon& icon, int helpContext) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumSize(65, 52);
    help::setHelpContext(button, helpContext);
    bar->layout()->addWidget(button);
    return button;
}

void DocumentWindow::setFieldOrder(const QList<QWidget*>& fields) {
    m_fieldOrder = fields;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        setTabOrder(fields[i], fields[i + 1]);
}

void DocumentWindow::bindEdit(QLineEdit* edit, const QString& field, FieldKind kind) {
    m_fieldEdits.append({edit, field, kind, QString()});
    edit->installEventFilter(this);
}

void DocumentWindow::bindExtraEdit(QLineEdit* edit, const QString& key) {
    m_fieldEdits.append({edit, QStringLiteral("ETC"), FieldKind::Text, key});
    edit->installEventFilter(this);
}

void DocumentWindow::prepareDocument() {
    const UserRights rights(DataStore::instance());
    const QString area = rightsArea(type());
    m_editButton->setEnabled(rights.hasPermission(area + QLatin1Char('3')));
    m_deleteButton->setEnabled(rights.hasPermission(area + QLatin1Char('4')));
    m_printButton->setEnabled(printCommand() && rights.hasPermission(area + QLatin1Char('7')));
}

void DocumentWindow::openNewDocument() {
    m_state = State::New;
    prepareDocument();
    newDocument();
    setCommandsForState();
    m_numberEdit->setFocus();
}

void DocumentWindow::openExistingDocument(int key) {
    m_state = State::Viewing;
    m_documentKey = key;
    prepareDocument();
    loadDocument();
    fb::Transaction history(DataStore::instance().database());
    writeHistory(history, m_documentKey, type());
    history.commit();
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

void DocumentWindow::newDocument() {
    m_documentKey = DataStore::instance().newKey(QStringLiteral("OPER"));
    loadDocument();
    m_row->insert();
    m_row->field(QStringLiteral("PRKEY")).setAsInteger(m_documentKey);
    m_row->field(QStringLiteral("DAT")).setAsDateTime(datetime::now());
    m_row->field(QStringLiteral("TYP")).setAsInteger(type());
}

void DocumentWindow::setFieldText(fb::DataField& field, const QString& text) {
    if (text.isEmpty())
        field.clear();
    else
        field.setAsString(text);
}

void DocumentWindow::proposeIssueNumber() {
    if (ProductOptions(DataStore::instance()).issueAutoNumbering())
        m_row->field(QStringLiteral("NUM")).setAsString(proposedIssueNumber());
}

void DocumentWindow::loadDocument() {
    m_row->close();
    m_row->setParam(QStringLiteral("PRKEY"), m_documentKey);
    m_row->setParam(QStringLiteral("TYP"), type());
    m_row->open();
    if (m_state != State::New && m_row->isEmpty())
        throw Exception(QStringLiteral("Документ не существует!"));
    showFields();
}

// ---- Fields ----

void DocumentWindow::showFields() {
    const qint64 partner = m_row->field(QStringLiteral("LPART")).asInteger();
    m_partnerEdit->setText(partner == 0 ? QString()
                                        : DataStore::instance().fieldValue(QStringLiteral("PARTS"),
                                                                           QStringLiteral("LNAM"),
                                                                           int(partner)));
    for (const FieldEdit& field : m_fieldEdits)
        showField(field);
    updateCaption();
}

void DocumentWindow::updateCaption() {
    setWindowTitle(m_title + QLatin1Char(' ') + m_row->field(QStringLiteral("NUM")).asString());
}

QString DocumentWindow::shownText(const FieldEdit& field) {
    const fb::DataField& value = m_row->field(field.field);
    if (!field.extraKey.isEmpty())
        return getKeyValue(value.asString(), field.extraKey);
    switch (field.kind) {
    case FieldKind::Amount:
        return value.isNull() ? QString() : formatAmount(value.asFloat());
    case FieldKind::Date:
        return dateFieldText(value.value());
    case FieldKind::Text:
    case FieldKind::Shown:
        break;
    }
    return value.asString();
}

void DocumentWindow::showField(const FieldEdit& field) {
    field.edit->setText(shownText(field));
}

void DocumentWindow::storeField(const FieldEdit& field) {
    const QString text = field.edit->text();
    if (field.kind == FieldKind::Date && !QDate::fromString(text, kDateFormat).isValid())
        throw Exception(kBadDate);
    if (field.kind == FieldKind::Shown || text == shownText(field))
        return;
    fb::DataField& value = m_row->field(field.field);
    if (!field.extraKey.isEmpty()) {
        value.setAsString(setKeyValue(value.asString(), field.extraKey, withoutControls(text)));
        return;
    }
    switch (field.kind) {
    case FieldKind::Amount:
        if (text.trimmed().isEmpty())
            value.clear();
        else
            value.setAsFloat(amountOf(text));
        break;
    case FieldKind::Date:
        value.setAsDateTime(datetime::encode(QDate::fromString(text, kDateFormat)));
        break;
    case FieldKind::Text:
    case FieldKind::Shown:
        setFieldText(value, text);
        break;
    }
}

bool DocumentWindow::storeFieldGuarded(const FieldEdit& field) {
    if (runGuarded([&] { storeField(field); }))
        return true;
    showField(field);
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

void DocumentWindow::onFieldChanged(const QString& name) {
    for (const FieldEdit& field : m_fieldEdits)
        if (field.field.compare(name, Qt::CaseInsensitive) == 0)
            showField(field);
    if (name.compare(QStringLiteral("NUM"), Qt::CaseInsensitive) == 0)
        updateCaption();
}

// ---- States and keys ----

void DocumentWindow::setCommandsForState() {
    m_head->setEnabled(isEditing());
    m_saveButton->setVisible(isEditing());
    m_editButton->setVisible(m_state == State::Viewing);
    m_deleteButton->setVisible(m_state == State::Viewing);
    m_printButton->setVisible(m_state != State::New);
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
            m_saveButton->click();
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
    emit closed(m_documentKey);
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

void DocumentWindow::onPartnerButtonClicked() {
    if (m_partnerEdit->hasFocus())
        openPartnerLookup();
    else
        m_partnerEdit->setFocus(Qt::MouseFocusReason);
}

void DocumentWindow::onPaymentTypeButtonClicked() {
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
    popup->setCurrentKey(int(m_row->field(QStringLiteral("LPART")).asInteger()));
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
    m_row->field(QStringLiteral("LPART")).setAsInteger(lookup.chosenKey());
    m_partnerEdit->setText(lookup.chosenText());
    focusAfter(m_partnerEdit);
}

bool DocumentWindow::offerNewPartner(const QString& text) {
    if (!messageBoxRepeat(this, QStringLiteral("Добавление"),
                          QStringLiteral("Создать нового партнера?"), Buttons::OkCancel, Answer::Ok,
                          1))
        return false;
    const std::optional<int> key = type() == kIncomeType
                                       ? PartnerInsertDialog::insertPayer(this, text)
                                       : PartnerInsertDialog::insertRecipient(this, text);
    if (!key)
        return false;
    m_row->field(QStringLiteral("LPART")).setAsInteger(*key);
    showFields();
    focusAfter(m_partnerEdit);
    return true;
}

void DocumentWindow::openPaymentTypeLookup() {
    if (!isEditing() || m_closing || lookupShown())
        return;
    auto lookup = std::make_unique<PaymentTypeLookup>(this);
    PaymentTypeLookup* popup = lookup.get();
    const QString initialText = m_row->field(QStringLiteral("REASON")).asString();
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
    setFieldText(m_row->field(QStringLiteral("REASON")), lookup.chosenText());
    focusAfter(m_paymentTypeEdit);
}

bool DocumentWindow::offerNewPaymentType(const QString& text, const QString& initialText) {
    fb::DataField& reason = m_row->field(QStringLiteral("REASON"));
    if (text == initialText) {
        setFieldText(reason, text);
    } else if (messageBoxRepeat(this, QStringLiteral("Добавление"),
                                QStringLiteral("Добавлять этот тип платежа в справочник или нет?"),
                                Buttons::YesNo, Answer::Yes, 1)) {
        const std::optional<int> key =
            PaymentTypeInsertDialog::insertPaymentType(this, text, type());
        if (key)
            setFieldText(reason, DataStore::instance().fieldValue(QStringLiteral("REASONS"),
                                                                  QStringLiteral("REASON"), *key));
    } else {
        setFieldText(reason, text);
    }
    focusAfter(m_paymentTypeEdit);
    return true;
}

void DocumentWindow::applyPartnerRule() {
    QString reason;
    {
        BookQuery latest(QString::fromLatin1(kPartnerRuleSql));
        latest.param(QStringLiteral("ITYP")).setInteger(type());
        latest.param(QStringLiteral("ILPART"))
            .setInteger(m_row->field(QStringLiteral("LPART")).asInteger());
        latest.param(QStringLiteral("PRKEY")).setInteger(m_documentKey);
        if (!latest.first())
            return;
        reason = latest.field(QStringLiteral("REASON")).asString();
    }
    setFieldText(m_row->field(QStringLiteral("REASON")), reason);
    showFields();
}

// ---- Commands ----

bool DocumentWindow::validateDocument() {
    QString problem;
    if (m_row->field(QStringLiteral("LPART")).asInteger() == 0)
        problem = QStringLiteral("Не указан партнер!");
    else if (m_row->field(QStringLiteral("REASON")).asString().trimmed().isEmpty())
        problem = QStringLiteral("Не указан тип платежа!");
    else if (m_row->field(QStringLiteral("SUM1")).isNull())
        problem = QStringLiteral("Не указана сумма!");
    if (problem.isEmpty())
        return true;
    dialogs::messageBox(this, problem, QStringLiteral("Сохранение"), Buttons::Ok,
                        MessageIcon::Warning);
    return false;
}

void DocumentWindow::onSaveClicked() {
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
            writeHistory(m_row->transaction(), m_documentKey, type());
        else
            lockStoredRow();
        DataStore::instance().postAndCommit(*m_row);
    } catch (...) {
        try {
            m_row->rollbackRetaining();
        } catch (...) {
        }
        DataStore::instance().editIfBrowsing(*m_row);
        rethrowStoreError();
    }
}

void DocumentWindow::onEditClicked() {
    runGuarded([this] {
        m_row->edit();
        m_state = State::Correcting;
        setCommandsForState();
        m_numberEdit->setFocus();
    });
}

void DocumentWindow::onDeleteClicked() {
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
        lockStoredRow();
        m_row->remove();
        DataStore::instance().postAndCommit(*m_row);
    } catch (...) {
        try {
            m_row->rollbackRetaining();
        } catch (...) {
        }
        m_row->cancelUpdates();
        rethrowStoreError();
    }
}

// A row that another window or user changed, deleted or is changing since this window read it
// is not overwritten: the row is locked and compared with what was read.
void DocumentWindow::lockStoredRow() {
    StoredRow(m_row->transaction(), QStringLiteral("OPER"), m_documentKey, kChangedElsewhere)
        .requireAsRead(*m_row);
}

void DocumentWindow::rethrowStoreError() {
    try {
        throw;
    } catch (const RowLockedElsewhere&) {
        throw Exception(kChangedElsewhere);
    } catch (const fb::Error& e) {
        if (e.isLockConflict())
            throw Exception(kChangedElsewhere);
        throw;
    }
}

void DocumentWindow::onPrintClicked() {
    bool closes = false;
    if (runGuarded([&] { closes = printCommand() && printCommand()(*this); }) && closes)
        close();
}

void DocumentWindow::onHistoryClicked() {
    runGuarded([this] {
        std::unique_ptr<PickDialog> dialog(
            PickDialog::create(DataStore::instance().database(), this));
        dialog->setObjectName(QStringLiteral("historyDialog"));
        dialog->setCloseOnPick(true);
        dialog->setWindowTitle(QStringLiteral("История работы с документом"));
        dialog->query().setSQL(QString::fromLatin1(kHistoryListSql));
        dialog->query().setParam(QStringLiteral("LDOC"), m_documentKey);
        dialog->query().open();
        setGridColumns(
            *dialog->grid(),
            {{QStringLiteral("DAT"), Qt::AlignLeft, QStringLiteral("Дата / Время"), 150, {}},
             {QStringLiteral("LNAM"), Qt::AlignLeft, QStringLiteral("Пользователь"), 400, {}}});
        dialog.release()->execute({}, {});
    });
}

void DocumentWindow::onHelpClicked() {
    if (MainWindowBase* main = MainWindowBase::current())
        main->showHelpContextFor(this, kHelpTopic);
}

void DocumentWindow::onWhatsThisClicked() {
    if (MainWindowBase* main = MainWindowBase::current())
        main->enterContextHelpMode();
}
