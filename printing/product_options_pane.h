#pragma once

#include "shell/options_pane.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The product's options pane: the common options with, on the general page, the numbering of
// issue documents and (in a bank-account book) the one-signature options, and a page
// "Печать" for the ways the documents print. Word and Writer are both served by the office
// program: their boxes show the book's choice as stored, with a note beside each where this
// machine lacks the program, which cannot then be newly ticked; each is stored only when the
// user changed it, so that a machine without the program keeps the other desktops' choice.
class ProductOptionsPane : public OptionsPane {
    Q_OBJECT
public:
    explicit ProductOptionsPane(QWidget* owner = nullptr);

    static constexpr const char* kLayoutKey = "TfrmOptionsKaltro";
    QString layoutKey() const override { return QString::fromLatin1(kLayoutKey); }

    // The options of the kind of book: the one-signature options in a bank-account book only,
    // the name of the book named for its kind; the general page shows first.
    void prepare() override;

    QCheckBox* issueAutoNumberingCheck() const { return m_issueAutoNumberingCheck; }
    QWidget* paymentOptionsPanel() const { return m_paymentOptionsPanel; }
    QCheckBox* oneSignatureCheck() const { return m_oneSignatureCheck; }
    QLineEdit* oneSignatureTextEdit() const { return m_oneSignatureTextEdit; }
    QWidget* printPage() const { return m_printPage; }
    QCheckBox* simpleFormsCheck() const { return m_simpleFormsCheck; }
    QGroupBox* simpleFormsGroup() const { return m_simpleFormsGroup; }
    QPushButton* configureSimpleFormsButton() const { return m_configureSimpleFormsButton; }
    QCheckBox* templatesCheck() const { return m_templatesCheck; }
    QGroupBox* templatesGroup() const { return m_templatesGroup; }
    QCheckBox* wordCheck() const { return m_wordCheck; }
    QCheckBox* writerCheck() const { return m_writerCheck; }
    // "the program is missing here", beside each box; shown only where the office program is.
    QLabel* wordMissingLabel() const { return m_wordMissingLabel; }
    QLabel* writerMissingLabel() const { return m_writerMissingLabel; }

protected:
    void loadSettings() override;
    // The common options, then the product's in the order "IssueAutoNum", "OneSignFlag",
    // "OneSignText", "Print.UseQReports", "Print.UseZOMGReports", then
    // "Print.UseZOMGReports_MOW" and "Print.UseZOMGReports_OOW" when their box was changed.
    void saveSettings() override;

private slots:
    void onPrintKindToggled();
    void onWordClicked(bool checked);
    void onWriterClicked(bool checked);
    void onConfigureSimpleFormsClicked();

private:
    QWidget* buildDocumentOptions();
    QWidget* buildPrintPage();
    QGroupBox* buildSimpleFormsGroup();
    QGroupBox* buildTemplatesGroup();
    QWidget* programRow(QCheckBox* box, QLabel*& missingLabel, const char* labelName);
    void keepOnlyWithOffice(QCheckBox* box, const QString& warning);
    static void giveCaptionRoom(QPushButton* button);

    QCheckBox* m_issueAutoNumberingCheck = nullptr;
    QWidget* m_paymentOptionsPanel = nullptr;
    QCheckBox* m_oneSignatureCheck = nullptr;
    QLineEdit* m_oneSignatureTextEdit = nullptr;
    QWidget* m_printPage = nullptr;
    QCheckBox* m_simpleFormsCheck = nullptr;
    QGroupBox* m_simpleFormsGroup = nullptr;
    QPushButton* m_configureSimpleFormsButton = nullptr;
    QCheckBox* m_templatesCheck = nullptr;
    QGroupBox* m_templatesGroup = nullptr;
    QCheckBox* m_wordCheck = nullptr;
    QCheckBox* m_writerCheck = nullptr;
    QLabel* m_wordMissingLabel = nullptr;
    QLabel* m_writerMissingLabel = nullptr;
    // The Word and Writer choices as loaded.
    bool m_wordLoaded = false;
    bool m_writerLoaded = false;
};
