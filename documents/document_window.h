#pragma once

#include "shell/run_window.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class LookupListPopup;
class QGroupBox;
class QIcon;
class QLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace fb {
class DataField;
class DataSet;
} // namespace fb

// The four kinds of cash document, each with its own window.
enum class DocumentKind {
    IncomingPayment,  // OPER.TYP 1 of a bank-account book
    PaymentOrder,     // OPER.TYP 2 of a bank-account book
    CashReceipt,      // OPER.TYP 1 of a cash-desk book
    CashDisbursement, // OPER.TYP 2 of a cash-desk book
};

// OPER.TYP of a kind: 1 income, 2 issue.
int documentType(DocumentKind kind);
// The kind of a document of OPER.TYP type (1 or 2) in a bank-account book (ownerType 0) or a
// cash-desk book (any other owner type).
DocumentKind documentKindOf(int type, int ownerType);

// A document window: a modeless, parentless top-level window with its own task-bar button over
// one row of OPER, read and written in a transaction of its own. Several may be open at once
// beside the main window; their dialogs are modal for their own window only. A window frees
// itself when it closes and emits closed() just before, with the key of its document.
//
// Opening one from a browser:
//
//   DocumentWindow* window = DocumentWindow::openNew(DocumentKind::IncomingPayment);
//   connect(window, &DocumentWindow::closed, this, [this](int key) { refreshRows(key); });
//
// openNew and openExisting raise an Exception with the message for the user when the window
// cannot be shown ("Документ не существует!" for a key without a document of that kind); the
// window is then gone and its transaction rolled back.
//
// A new document is edited at once; an existing one is shown read-only until "Коррекция". The
// partner and the payment type are chosen in lookup drop-downs that open when their field is
// entered by Tab, Backtab, Enter, a click or their button; a name that is not found may be added
// to its dictionary. Enter moves to the next field. "Сохранить" checks the partner, the payment
// type and the amount, then stores the row and closes; a save that fails keeps the window as it
// was, and a document changed or deleted elsewhere since the window read it is not overwritten.
// Every opening of an existing document, and the first save of a new one, is noted in HISTORY.
// Closing a window that edits asks "Отменить изменения?"; Escape closes too.
class DocumentWindow : public RunWindow {
    Q_OBJECT
public:
    enum class State { New, Viewing, Correcting };

    // A window on a new document, its key drawn at once; shown and active.
    static DocumentWindow* openNew(DocumentKind kind);
    // A window on the existing document key (OPER.PRKEY), read-only until "Коррекция".
    static DocumentWindow* openExisting(DocumentKind kind, int key);
    ~DocumentWindow() override;

    // The print command of every document window: prints the window's document and says whether
    // the window closes afterwards (through its close question). The program sets it; without
    // one "Печать" stays disabled.
    using PrintCommand = std::function<bool(DocumentWindow& window)>;
    static void setPrintCommand(PrintCommand command);

    DocumentKind kind() const { return m_kind; }
    // The window's class as the book's print options name it ("TfrmPaymentIncome"); stored data.
    QString formClass() const;
    // OPER.PRKEY of the document; for a new one the key drawn for it, saved or not.
    int documentKey() const { return m_documentKey; }
    State state() const { return m_state; }
    // The document's row as the window holds it.
    fb::DataSet& row() { return *m_row; }

    // The fields of the head, for the user and the tests.
    QLineEdit* numberEdit() const { return m_numberEdit; }
    QLineEdit* dateEdit() const { return m_dateEdit; }
    QLineEdit* partnerEdit() const { return m_partnerEdit; }
    QLineEdit* paymentTypeEdit() const { return m_paymentTypeEdit; }
    QLineEdit* amountEdit() const { return m_amountEdit; }
    // The commands: "Сохранить", "Коррекция", "Удалить", "Печать", "История", "Закрыть".
    QToolButton* saveButton() const { return m_saveButton; }
    QToolButton* editButton() const { return m_editButton; }
    QToolButton* deleteButton() const { return m_deleteButton; }
    QToolButton* printButton() const { return m_printButton; }
    QToolButton* historyButton() const { return m_historyButton; }
    QToolButton* closeButton() const { return m_closeButton; }

signals:
    // The window is closing for good; key is documentKey(). A browser reloads and stands on it.
    void closed(int key);

protected:
    // title: the document's name before its number ("Приход на Р/С №").
    DocumentWindow(DocumentKind kind, const QString& title);

    // How the text of an edit stands for its field.
    enum class FieldKind {
        Text,   // a text field as typed
        Amount, // a number shown "#0.00"; empty is null; a negative one is refused
        Date,   // "dd.mm.yyyy"; an empty or impossible date is refused
        Shown,  // shown only: the window sets the field itself
    };

    // Makes edit show field of the row and, while the window edits, write it when the focus
    // leaves it and before a save.
    void bindEdit(QLineEdit* edit, const QString& field, FieldKind kind);
    // The same for the value of key in the document's key=value text ETC; control characters
    // typed into the edit are dropped.
    void bindExtraEdit(QLineEdit* edit, const QString& key);
    // A field's edit in a captioned group, as the descendants add theirs.
    QLineEdit* addGroupEdit(QGroupBox* group, const QString& objectName, int maxLength);
    // An edit of an amount: digits with one separator, a minus allowed so that it can be refused.
    QLineEdit* addAmountEdit(QGroupBox* group, const QString& objectName);
    QGroupBox* makeGroup(const QString& objectName, const QString& caption, int helpContext,
                         Qt::Orientation orientation = Qt::Horizontal);
    // The column of the head that the descendants lay their groups into, below the payment
    // type; the amount's group is theirs to place.
    QVBoxLayout* headLayout() const { return m_headLayout; }
    QGroupBox* amountGroup() const { return m_amountGroup; }
    // The order of the fields for Tab and Enter, from the number on.
    void setFieldOrder(const QList<QWidget*>& fields);

    // Inserts the new row: its key, the date and time of now, its type.
    virtual void newDocument();
    // Sets a text field; an empty text stores no value, as the data-aware edits did.
    static void setFieldText(fb::DataField& field, const QString& text);
    // Proposes the number after the latest issue document's when the book numbers them.
    void proposeIssueNumber();
    // Where Enter in field moves the focus: the next field, after the last one "Сохранить".
    virtual QWidget* widgetAfterEnter(QWidget* field) const;

    bool isEditing() const { return m_state != State::Viewing; }
    int type() const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSaveClicked();
    void onEditClicked();
    void onDeleteClicked();
    void onPrintClicked();
    void onHistoryClicked();
    void onHelpClicked();
    void onWhatsThisClicked();
    void onPartnerButtonClicked();
    void onPaymentTypeButtonClicked();
    void onFieldChanged(const QString& name);

private:
    struct FieldEdit {
        QLineEdit* edit;
        QString field;
        FieldKind kind;
        QString extraKey; // for a value kept in ETC
    };

    static std::unique_ptr<DocumentWindow> create(DocumentKind kind);
    void buildHead();
    QLayout* buildNumberRow();
    QGroupBox* makeLookupGroup(const QString& name, const QString& caption, int helpContext,
                               QLineEdit*& edit, QToolButton*& button);
    QWidget* buildCommands();
    QToolButton* addCommand(QWidget* bar, const QString& name, const QString& caption,
                            const QString& hint, const QIcon& icon, int helpContext);
    // An icon of the desktop's theme, else the style's standard pixmap fallback.
    QIcon themeIcon(const char* name, int fallback) const;
    void prepareDocument();
    void openNewDocument();
    void openExistingDocument(int key);
    void showWindow();
    void loadDocument();
    void showFields();
    // The caption: the document's name and its number.
    void updateCaption();
    void showField(const FieldEdit& field);
    QString shownText(const FieldEdit& field);
    void storeField(const FieldEdit& field);
    // Writes an edit the user changed; a refused value is said and the old one shown again.
    bool storeFieldGuarded(const FieldEdit& field);
    bool storeFields();
    const FieldEdit* fieldEditOf(const QObject* edit) const;
    void setCommandsForState();
    void focusAfter(QWidget* field);

    void openPartnerLookup();
    void openPaymentTypeLookup();
    void takePartner(const LookupListPopup& lookup);
    void takePaymentType(const LookupListPopup& lookup);
    bool offerNewPartner(const QString& text);
    bool offerNewPaymentType(const QString& text, const QString& initialText);
    void applyPartnerRule();
    // Opens the lookup of a field entered as the user moves: Tab, Backtab, a click, a shortcut.
    void openLookupOnFocus(QObject* field, int reason);
    bool lookupShown() const;

    bool validateDocument();
    void saveDocument();
    void deleteDocument();
    // Locks the stored row in the window's transaction; refused when it no longer holds what
    // the window read.
    void lockStoredRow();
    // The engine's refusal of a row changed or deleted elsewhere becomes the user's message.
    [[noreturn]] void rethrowStoreError();

    DocumentKind m_kind;
    QString m_title;
    int m_documentKey = 0;
    State m_state = State::New;
    bool m_askOnClose = true;
    bool m_closing = false;
    std::unique_ptr<fb::DataSet> m_row;
    QList<FieldEdit> m_fieldEdits;
    QList<QWidget*> m_fieldOrder;

    QWidget* m_head = nullptr;
    QVBoxLayout* m_headLayout = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    QLineEdit* m_dateEdit = nullptr;
    QLineEdit* m_partnerEdit = nullptr;
    QLineEdit* m_paymentTypeEdit = nullptr;
    QLineEdit* m_amountEdit = nullptr;
    QGroupBox* m_amountGroup = nullptr;
    QToolButton* m_partnerButton = nullptr;
    QToolButton* m_paymentTypeButton = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_editButton = nullptr;
    QToolButton* m_deleteButton = nullptr;
    QToolButton* m_printButton = nullptr;
    QToolButton* m_historyButton = nullptr;
    QToolButton* m_closeButton = nullptr;
};
