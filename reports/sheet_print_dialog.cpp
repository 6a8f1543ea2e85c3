#include "reports/sheet_print_dialog.h"

#include "ui/message_box.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int kWidth = 328;
constexpr int kHeight = 183;

int wholePoints(const QFont& font) {
    const int size = qRound(font.pointSizeF());
    return size > 0 ? size : SheetPrintSettings::kDefaultFontSize;
}

} // namespace

SheetPrintDialog::SheetPrintDialog(QWidget* owner, const SheetPrintSettings& settings)
    : OwnedDialog(owner), m_font(settings.fontName) {
    setObjectName(QStringLiteral("sheetPrintDialog"));
    setWindowTitle(QStringLiteral("Выберите режим печати:"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_font.setPointSize(settings.fontSize);

    auto* choices = new QVBoxLayout;
    choices->addWidget(createFontGroup());
    choices->addWidget(createOrientationGroup());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(choices, 1);
    layout->addWidget(createButtonPanel());
    setFixedSize(kWidth, kHeight);

    (settings.landscape ? m_landscapeButton : m_portraitButton)->setChecked(true);
    showFont();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_previewButton->setFocus();
}

QWidget* SheetPrintDialog::createFontGroup() {
    auto* group = new QGroupBox(QStringLiteral("Шрифт"), this);
    group->setObjectName(QStringLiteral("fontGroup"));
    m_fontNameLabel = new QLabel(group);
    m_fontNameLabel->setObjectName(QStringLiteral("fontNameLabel"));
    m_fontSizeLabel = new QLabel(group);
    m_fontSizeLabel->setObjectName(QStringLiteral("fontSizeLabel"));
    m_selectFontButton = new QPushButton(QStringLiteral("Выбрать..."), group);
    m_selectFontButton->setObjectName(QStringLiteral("selectFontButton"));
    connect(m_selectFontButton, &QPushButton::clicked, this,
            &SheetPrintDialog::onSelectFontClicked);
    auto* labels = new QVBoxLayout;
    labels->addWidget(m_fontNameLabel);
    labels->addWidget(m_fontSizeLabel);
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(labels, 1);
    layout->addWidget(m_selectFontButton, 0, Qt::AlignBottom);
    return group;
}

QWidget* SheetPrintDialog::createOrientationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Ориентация"), this);
    group->setObjectName(QStringLiteral("orientationGroup"));
    m_portraitButton = new QRadioButton(QStringLiteral("книжная"), group);
    m_portraitButton->setObjectName(QStringLiteral("portraitButton"));
    m_landscapeButton = new QRadioButton(QStringLiteral("альбомная"), group);
    m_landscapeButton->setObjectName(QStringLiteral("landscapeButton"));
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(m_portraitButton);
    layout->addWidget(m_landscapeButton);
    return group;
}

QWidget* SheetPrintDialog::createButtonPanel() {
    auto* panel = new QWidget(this);
    m_previewButton = new QPushButton(QStringLiteral("Просмотр"), panel);
    m_previewButton->setObjectName(QStringLiteral("previewButton"));
    m_printButton = new QPushButton(QStringLiteral("Печать"), panel);
    m_printButton->setObjectName(QStringLiteral("printButton"));
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"), panel);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_previewButton, &QPushButton::clicked, this, &SheetPrintDialog::onPreviewClicked);
    connect(m_printButton, &QPushButton::clicked, this, &SheetPrintDialog::onPrintClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(m_previewButton);
    layout->addWidget(m_printButton);
    layout->addStretch();
    layout->addWidget(m_cancelButton);
    return panel;
}

void SheetPrintDialog::execute(ChoiceHandler onChoice) {
    m_onChoice = std::move(onChoice);
    m_failure = nullptr;
    exec();
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
}

printing::FontSpec SheetPrintDialog::font() const {
    printing::FontSpec spec;
    spec.family = m_font.family();
    spec.pointSize = wholePoints(m_font);
    spec.bold = m_font.bold();
    spec.italic = m_font.italic();
    spec.underline = m_font.underline();
    return spec;
}

printing::Orientation SheetPrintDialog::orientation() const {
    return m_portraitButton->isChecked() ? printing::Orientation::Portrait
                                         : printing::Orientation::Landscape;
}

SheetPrintSettings SheetPrintDialog::settings() const {
    SheetPrintSettings settings;
    settings.fontName = m_font.family();
    settings.fontSize = wholePoints(m_font);
    settings.landscape = orientation() == printing::Orientation::Landscape;
    return settings;
}

// The book keeps whole points: a size between them is rounded, so that the sheet prints in the
// size it will open with the next time.
void SheetPrintDialog::onSelectFontClicked() {
    QFont chosen = m_font;
    if (!dialogs::selectFont(this, QStringLiteral("Шрифт"), chosen))
        return;
    chosen.setPointSize(wholePoints(chosen));
    m_font = chosen;
    showFont();
}

void SheetPrintDialog::onPreviewClicked() {
    choose(SheetPrintMode::Preview);
}

void SheetPrintDialog::onPrintClicked() {
    choose(SheetPrintMode::Print);
}

void SheetPrintDialog::showFont() {
    m_fontNameLabel->setText(m_font.family());
    m_fontSizeLabel->setText(QStringLiteral("Размер %1").arg(wholePoints(m_font)));
}

void SheetPrintDialog::choose(SheetPrintMode mode) {
    if (!m_onChoice)
        return;
    try {
        m_onChoice(*this, mode);
    } catch (...) {
        m_failure = std::current_exception();
        reject();
    }
}
