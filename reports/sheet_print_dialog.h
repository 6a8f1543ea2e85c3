#pragma once

#include "printing/report.h"
#include "store/sheet_print_settings.h"
#include "ui/owned_dialog.h"

#include <QFont>
#include <exception>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

// What the user asked the sheet print dialog for.
enum class SheetPrintMode { Preview, Print };

// The choice of the font and the page orientation a sheet prints in, with "Просмотр" and
// "Печать"; each hands the current choice to the handler and leaves the dialog open for
// another. "Отмена" and Esc close it. "Выбрать..." opens the font dialog.
class SheetPrintDialog : public OwnedDialog {
    Q_OBJECT
public:
    using ChoiceHandler = std::function<void(SheetPrintDialog& dialog, SheetPrintMode mode)>;

    SheetPrintDialog(QWidget* owner, const SheetPrintSettings& settings);

    // Runs the dialog modally. A failure of onChoice closes the dialog and passes on from here.
    void execute(ChoiceHandler onChoice);

    // The font chosen, its style included, and the orientation.
    printing::FontSpec font() const;
    printing::Orientation orientation() const;
    // What the book keeps of the choice: the font's name and size, and the orientation.
    SheetPrintSettings settings() const;

    QLabel* fontNameLabel() const { return m_fontNameLabel; }
    QLabel* fontSizeLabel() const { return m_fontSizeLabel; }
    QPushButton* selectFontButton() const { return m_selectFontButton; }
    QRadioButton* portraitButton() const { return m_portraitButton; }
    QRadioButton* landscapeButton() const { return m_landscapeButton; }
    QPushButton* previewButton() const { return m_previewButton; }
    QPushButton* printButton() const { return m_printButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

private slots:
    void onSelectFontClicked();
    void onPreviewClicked();
    void onPrintClicked();

private:
    QWidget* createFontGroup();
    QWidget* createOrientationGroup();
    QWidget* createButtonPanel();
    void showFont();
    void choose(SheetPrintMode mode);

    QFont m_font;
    QLabel* m_fontNameLabel;
    QLabel* m_fontSizeLabel;
    QPushButton* m_selectFontButton;
    QRadioButton* m_portraitButton;
    QRadioButton* m_landscapeButton;
    QPushButton* m_previewButton;
    QPushButton* m_printButton;
    QPushButton* m_cancelButton;
    ChoiceHandler m_onChoice;
    std::exception_ptr m_failure;
};
