#pragma once

#include "shell/run_window.h"
#include "store/cash_documents.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class LookupListPopup;
class QAction;
class QGroupBox;
class QIcon;
class QLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

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
// one cash document (store/cash_documents.h), read and written in a transaction of its own.
// Several may be open at once beside the main window; their dialogs are modal for their own
// window only. A window frees itself when it closes and emits closed() just before, with the key
// of its document; every document browser hears of it too (DocumentWindows::events()).
//
//   DocumentWindow* window = DocumentWindow::openNew(DocumentKind::IncomingPayment);
//
// openNew and openExisting raise an Exception with the message for the user when the window
// cannot be shown ("Документ не существует!" for a key without a document of that kind); the
// window is then gone and its transaction rolled back.
//
// The window holds the document as a value that its edits show; an edit writes its text into the
// value when the focus leaves it and before a save. A new document is edited at once; an existing
// one is shown read-only until "Коррекция". The partner and the payment type are chosen in lookup
// drop-downs that open when their field is entered by Tab, Backtab, Enter, a click or their
// button; a name that is not found may be added to its dictionary. Enter moves to the next
// field. "Сохранить" checks the partner, the payment type and the amount, then stores the
// document and closes; a save that fails keeps the window as it was, and a document changed or
// deleted elsewhere since the window read it is not overwritten. Every opening of an existing
// document, and the first save of a new one, is noted in HISTORY. Closing a window that edits
// asks "Отменить изменения?"; Escape closes too. Every command is one action: the button shows
// it, and its enabled and visible states are set on it.
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
    int documentKey() const { return m_document.key; }
    State state() const { return m_state; }
    // The document as the window holds it: what its edits wrote into it so far.
    const CashDocument& document() const { return m_document; }
    // The window's reads and writes of its document, in its own transaction.
    CashDocuments& documents() { return m_documents; }

    // What choosing in the drop-downs does: the partner of key, which brings the payment type
    // of its latest other document of the kind; the payment type text, which in a payment
    // window brings the purposes back.
    void choosePartner(int key);
    void choosePaymentType(const QString& text);

    // The fields of the head, for the user and the tests.
    QLineEdit* numberEdit() const { return m_numberEdit; }
    QLineEdit* dateEdit() const { return m_dateEdit; }
    QLineEdit* partnerEdit() const { return m_partnerEdit; }
    QLineEdit* paymentTypeEdit() const { return m_paymentTypeEdit; }
    QLineEdit* amountEdit() const { return m_amountEdit; }
    // The buttons of the commands: "Сохранить", "Коррекция", "Удалить", "Печать", "История",
    // "Закрыть".
    QToolButton* saveButton() const { return m_saveButton; }
    QToolButton* editButton() const { return m_editButton; }
    QToolButton* deleteButton() const { return m_deleteButton; }
    QToolButton* printButton() const { return m_printButton; }
    QToolButton* historyButton() const { return m_historyButton; }
    QToolButton* closeButton() const { return m_closeButton; }

signals:
    // The window is closing for good; key is documentKey().
    void closed(int key);

protected:
    // title: the document's name before its number ("Приход на Р/С №").
    DocumentWindow(DocumentKind kind, const QString& title);

    // What of the document an edit shows.
    enum class DocumentField {
        Number,      // NUM as typed
        Date,        // DAT as "dd.mm.yyyy"; an empty or impossible date is refused
        PaymentType, // shown only: chosen in its drop-down
        Amount,      // SUM1 shown "#0.00"; empty is none; a negative one is refused
        TaxPart,     // SUM2, as the amount
        Purpose1,
        Purpose2,
        Purpose3,
        Extra, // a value of the key=value text ETC (bindExtraEdit)
    };
    static DocumentField purposeField(int line);

    // Makes edit show field of the document and, while the window edits, write it when the
    // focus leaves it and before a save.
    void bindEdit(QLineEdit* edit, DocumentField field);
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

    // What a kind adds to a new document before it is shown.
    virtual void prepareNewDocument(CashDocument& document);
    // What a kind does when the payment type of document has changed.
    virtual void paymentTypeChanged(CashDocument& document);
    // Proposes the number after the latest issue document's when the book numbers them.
    void proposeIssueNumber(CashDocument& document);
    // Where Enter in field moves the focus: the next field, after the last one "Сохранить".
    virtual QWidget* widgetAfterEnter(QWidget* field) const;

    bool isEditing() const { return m_state != State::Viewing; }
    int type() const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSaveTriggered();
    void onEditTriggered();
    void onDeleteTriggered();
    void onPrintTriggered();
    void onHistoryTriggered();
    void onHelpTriggered();
    void onWhatsThisTriggered();
    void onPartnerLookupTriggered();
    void onPaymentTypeLookupTriggered();

private:
    struct FieldEdit {
        QLineEdit* edit;
        DocumentField field;
        QString extraKey; // for a value kept in ETC
    };

    static std::unique_ptr<DocumentWindow> create(DocumentKind kind);
    void buildHead();
    QLayout* buildNumberRow();
    QGroupBox* makeLookupGroup(const QString& name, const QString& caption, int helpContext,
                               QLineEdit*& edit, QAction* lookupAction);
    QWidget* buildCommands();
    QAction* addCommand(QWidget* bar, const QString& name, const QString& caption,
                        const QString& hint, const QIcon& icon, int helpContext,
                        QToolButton*& button);
    void prepareDocument();
    void openNewDocument();
    void openExistingDocument(int key);
    void showWindow();
    // Shows every field of the document.
    void showFields();
    // The partner's name, read from the book.
    void showPartner();
    // Takes changed as the document, showing the fields it changed.
    void showDocument(const CashDocument& changed);
    // The caption: the document's name and its number.
    void updateCaption();
    QString shownText(const FieldEdit& field, const CashDocument& document) const;
    // Writes the text of an edit into the document; throws with the user's message when the
    // text is refused.
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
    // Opens the lookup of a field entered as the user moves: Tab, Backtab, a click, a shortcut.
    void openLookupOnFocus(QObject* field, int reason);
    bool lookupShown() const;

    bool validateDocument();
    void saveDocument();
    void deleteDocument();

    DocumentKind m_kind;
    QString m_title;
    State m_state = State::New;
    bool m_askOnClose = true;
    bool m_closing = false;
    CashDocuments m_documents;
    CashDocument m_document; // as the edits wrote it
    CashDocument m_asRead;   // as it was read, for a save over it
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
    QAction* m_saveAction = nullptr;
    QAction* m_editAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_historyAction = nullptr;
    QAction* m_partnerLookupAction = nullptr;
    QAction* m_paymentTypeLookupAction = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_editButton = nullptr;
    QToolButton* m_deleteButton = nullptr;
    QToolButton* m_printButton = nullptr;
    QToolButton* m_historyButton = nullptr;
    QToolButton* m_closeButton = nullptr;
};
