#include "printing/simple_print_forms_dialog.h"

#include "store/book_kind.h"
#include "store/data_store.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

bool SimplePrintFormsDialog::configure(QWidget* owner) {
    SimplePrintFormsDialog dialog(owner);
    dialog.fillFormList();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.storeChoices();
    return true;
}

SimplePrintFormsDialog::SimplePrintFormsDialog(QWidget* owner) : OwnedDialog(owner) {
    setObjectName(QStringLiteral("simplePrintFormsDialog"));
    setWindowTitle(QStringLiteral("Выбор печатных форм"));
    auto* titleLabel = new QLabel(QStringLiteral("Простые печатные формы"));
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    auto* promptLabel =
        new QLabel(QStringLiteral("Выберите требуемые печатные формы для каждого типа документа"));
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    m_formList = new QListWidget;
    m_formList->setObjectName(QStringLiteral("formList"));
    auto* buttons = new QDialogButtonBox;
    m_okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel);
    layout->addWidget(promptLabel);
    layout->addWidget(m_formList, 1);
    layout->addWidget(buttons);
    resize(460, 340);
}

void SimplePrintFormsDialog::fillFormList() {
    DataStore& store = DataStore::instance();
    const ProductOptions options(store);
    m_rows = simplePrintFormTable(ownerType(store));
    m_formList->clear();
    for (const SimplePrintFormRow& row : m_rows) {
        auto* line = new QListWidgetItem(row.caption, m_formList);
        if (row.kind == SimplePrintFormRow::Kind::Heading) {
            line->setFlags(Qt::ItemIsEnabled);
            QFont font = line->font();
            font.setBold(true);
            line->setFont(font);
            continue;
        }
        line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        line->setCheckState(options.useSimplePrintForm(row.formClass, row.printFormClass)
                                ? Qt::Checked
                                : Qt::Unchecked);
    }
}

void SimplePrintFormsDialog::storeChoices() {
    ProductOptions options(DataStore::instance());
    for (int i = 0; i < m_rows.size(); ++i) {
        const SimplePrintFormRow& row = m_rows[i];
        if (row.kind == SimplePrintFormRow::Kind::Form)
            options.setUseSimplePrintForm(row.formClass, row.printFormClass,
                                          m_formList->item(i)->checkState() == Qt::Checked);
    }
}
