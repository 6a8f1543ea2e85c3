#include "printing/product_options_pane.h"

#include "platform/office.h"
#include "printing/simple_print_forms_dialog.h"
#include "store/book_kind.h"
#include "store/data_store.h"
#include "store/product_options.h"
#include "ui/message_box.h"
#include "ui/widget_helpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

ProductOptionsPane::ProductOptionsPane(QWidget* owner) : OptionsPane(owner) {
    addGeneralOptions(buildDocumentOptions());
    optionPages()->addTab(buildPrintPage(), QStringLiteral("Печать"));
}

QWidget* ProductOptionsPane::buildDocumentOptions() {
    auto* documentOptions = named(new QWidget, "documentOptions");
    m_issueAutoNumberingCheck = named(
        new QCheckBox(QStringLiteral("Разрешить автоматическую нумерацию расходных документов")),
        "issueAutoNumberingCheck");
    m_paymentOptionsPanel = named(new QWidget, "paymentOptionsPanel");
    auto* oneSignatureGroup =
        named(new QGroupBox(QStringLiteral("Право одной подписи")), "oneSignatureGroup");
    m_oneSignatureCheck = named(new QCheckBox(QStringLiteral("Документы с правом одной подписи")),
                                "oneSignatureCheck");
    m_oneSignatureTextEdit = named(new QLineEdit, "oneSignatureTextEdit");
    auto* groupLayout = new QVBoxLayout(oneSignatureGroup);
    groupLayout->addWidget(m_oneSignatureCheck);
    groupLayout->addWidget(
        named(new QLabel(QStringLiteral("Текст надписи для печати:")), "oneSignatureTextLabel"));
    groupLayout->addWidget(m_oneSignatureTextEdit);
    auto* panelLayout = new QVBoxLayout(m_paymentOptionsPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(oneSignatureGroup);
    auto* layout = new QVBoxLayout(documentOptions);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_issueAutoNumberingCheck);
    layout->addWidget(m_paymentOptionsPanel);
    return documentOptions;
}

QWidget* ProductOptionsPane::buildPrintPage() {
    m_printPage = named(new QWidget, "printPage");
    m_simpleFormsCheck =
        named(new QCheckBox(QStringLiteral("Простые печатные формы")), "simpleFormsCheck");
    m_templatesCheck =
        named(new QCheckBox(QStringLiteral("Редактируемые печатные формы")), "templatesCheck");
    connect(m_simpleFormsCheck, &QCheckBox::toggled, this, &ProductOptionsPane::onPrintKindToggled);
    connect(m_templatesCheck, &QCheckBox::toggled, this, &ProductOptionsPane::onPrintKindToggled);
    auto* layout = new QVBoxLayout(m_printPage);
    layout->addWidget(named(new QLabel(QStringLiteral("Использовать:")), "useLabel"));
    layout->addWidget(m_simpleFormsCheck);
    layout->addWidget(buildSimpleFormsGroup());
    layout->addWidget(m_templatesCheck);
    layout->addWidget(buildTemplatesGroup());
    layout->addStretch(1);
    return m_printPage;
}

QGroupBox* ProductOptionsPane::buildSimpleFormsGroup() {
    m_simpleFormsGroup = named(new QGroupBox, "simpleFormsGroup");
    m_configureSimpleFormsButton =
        named(new QPushButton(QStringLiteral("Выбор печатных форм")), "configureSimpleFormsButton");
    connect(m_configureSimpleFormsButton, &QPushButton::clicked, this,
            &ProductOptionsPane::onConfigureSimpleFormsClicked);
    auto* layout = new QVBoxLayout(m_simpleFormsGroup);
    layout->addWidget(m_configureSimpleFormsButton, 0, Qt::AlignLeft);
    return m_simpleFormsGroup;
}

QGroupBox* ProductOptionsPane::buildTemplatesGroup() {
    m_templatesGroup = named(new QGroupBox, "templatesGroup");
    m_wordCheck = named(new QCheckBox(QStringLiteral("через Microsoft Word")), "wordCheck");
    m_writerCheck =
        named(new QCheckBox(QStringLiteral("через OpenOffice.org Writer")), "writerCheck");
    connect(m_wordCheck, &QCheckBox::clicked, this, &ProductOptionsPane::onWordClicked);
    connect(m_writerCheck, &QCheckBox::clicked, this, &ProductOptionsPane::onWriterClicked);
    auto* layout = new QVBoxLayout(m_templatesGroup);
    layout->addWidget(programRow(m_wordCheck, m_wordMissingLabel, "wordMissingLabel"));
    layout->addWidget(programRow(m_writerCheck, m_writerMissingLabel, "writerMissingLabel"));
    return m_templatesGroup;
}

// A program's box with the note, beside it, that this machine lacks the program.
QWidget* ProductOptionsPane::programRow(QCheckBox* box, QLabel*& missingLabel,
                                        const char* labelName) {
    auto* row = new QWidget;
    missingLabel = named(
        new QLabel(QStringLiteral("(на этом компьютере не найден LibreOffice, который печатает "
                                  "эти формы)")),
        labelName);
    missingLabel->setEnabled(false);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(missingLabel);
    layout->addStretch(1);
    return row;
}

void ProductOptionsPane::prepare() {
    OptionsPane::prepare();
    const int kind = ownerType(DataStore::instance());
    m_paymentOptionsPanel->setVisible(kind == int(BookKind::BankAccount));
    if (kind == int(BookKind::BankAccount))
        storeCaptionGroup()->setTitle(QStringLiteral("Название расчетного счета"));
    if (kind == int(BookKind::CashDesk))
        storeCaptionGroup()->setTitle(QStringLiteral("Название кассы"));
    giveCaptionRoom(m_configureSimpleFormsButton);
}

// The style leaves a long bold caption no room at the button's edges: a character's width on
// either side, in the font the button has once it is in the pane.
void ProductOptionsPane::giveCaptionRoom(QPushButton* button) {
    const QFontMetrics metrics(button->font());
    button->setMinimumWidth(button->sizeHint().width() + 2 * averageCharWidth(metrics).width());
}

void ProductOptionsPane::loadSettings() {
    OptionsPane::loadSettings();
    const ProductOptions options(DataStore::instance());
    m_issueAutoNumberingCheck->setChecked(options.issueAutoNumbering());
    m_oneSignatureCheck->setChecked(options.oneSignature());
    m_oneSignatureTextEdit->setText(options.oneSignatureText());
    m_simpleFormsCheck->setChecked(options.useSimpleForms());
    m_templatesCheck->setChecked(options.useTemplates());
    m_wordLoaded = options.wordChosen();
    m_writerLoaded = options.writerChosen();
    m_wordCheck->setChecked(m_wordLoaded);
    m_writerCheck->setChecked(m_writerLoaded);
    const bool missing = !officeAvailable();
    m_wordMissingLabel->setVisible(missing);
    m_writerMissingLabel->setVisible(missing);
    onPrintKindToggled();
}

void ProductOptionsPane::saveSettings() {
    OptionsPane::saveSettings();
    BookOptions options = DataStore::instance().options();
    const auto storeFlag = [&options](const char* key, const QCheckBox* box) {
        options.setOption(key, BookOptions::flagText(box->isChecked()));
    };
    storeFlag(kIssueAutoNumberingKey, m_issueAutoNumberingCheck);
    storeFlag(kOneSignatureKey, m_oneSignatureCheck);
    options.setOption(kOneSignatureTextKey, m_oneSignatureTextEdit->text());
    storeFlag(kUseSimpleFormsKey, m_simpleFormsCheck);
    storeFlag(kUseTemplatesKey, m_templatesCheck);
    if (m_wordCheck->isChecked() != m_wordLoaded)
        storeFlag(kUseWordKey, m_wordCheck);
    m_wordLoaded = m_wordCheck->isChecked();
    if (m_writerCheck->isChecked() != m_writerLoaded)
        storeFlag(kUseWriterKey, m_writerCheck);
    m_writerLoaded = m_writerCheck->isChecked();
}

// Each group of a way of printing shows while its box is ticked.
void ProductOptionsPane::onPrintKindToggled() {
    m_simpleFormsGroup->setVisible(m_simpleFormsCheck->isChecked());
    m_templatesGroup->setVisible(m_templatesCheck->isChecked());
}

void ProductOptionsPane::onWordClicked(bool checked) {
    if (checked)
        keepOnlyWithOffice(
            m_wordCheck,
            QStringLiteral(
                "Операция невозможна. На компьютере не обнаружен Microsoft Office Word!"));
}

void ProductOptionsPane::onWriterClicked(bool checked) {
    if (checked)
        keepOnlyWithOffice(
            m_writerCheck,
            QStringLiteral(
                "Операция невозможна. На компьютере не обнаружен OpenOffice.org Writer!"));
}

void ProductOptionsPane::keepOnlyWithOffice(QCheckBox* box, const QString& warning) {
    if (officeAvailable())
        return;
    showWarning(this, warning);
    box->setChecked(false);
}

void ProductOptionsPane::onConfigureSimpleFormsClicked() {
    SimplePrintFormsDialog::configure(this);
}
