#pragma once

#include "shell/period_browser_pane.h"

#include <QTimer>

class QLabel;
class QLineEdit;
class QToolButton;
class PartnerFilterLookup;
struct DocumentListFilter;

// One kind of document list: the OPER.TYP shown, the PARTS.TYP of the partners its filter
// offers, the pane's title, the key of its grid layouts, its rights area, the title of the
// partner column and the label of the partner filter.
struct DocumentBrowserKind {
    int documentType;
    int partnerType;
    const char* title;
    const char* layoutKey;
    const char* rightsArea;
    const char* partnerTitle;
    const char* filterLabel;
};

// The documents of one kind (table OPER) over the shared browse period, newest first, with their
// partners' names; all partners or one chosen in the partner filter. The status bar shows the
// total of the amounts of every listed document, read by one query of its own and summed to four
// decimals. "Новый" (allowed by the rights area's action 2) and "Открыть" open the kind's document
// window; when a document window of the browser's type closes, however it was opened, the browser
// shown reads its rows again and stands on that document.
class DocumentBrowser : public PeriodBrowserPane {
    Q_OBJECT
public:
    // The partner filter's value for every partner.
    static constexpr int kAllPartners = -1;

    explicit DocumentBrowser(const DocumentBrowserKind& kind, QWidget* owner = nullptr);

    QString layoutKey() const override { return QString::fromLatin1(m_kind.layoutKey); }
    const DocumentBrowserKind& kind() const { return m_kind; }

    // Enables "Новый" by the user's rights.
    void prepare() override;
    void prepareQuery() override;
    // Reads the rows and their total, and shows the period and the partner filter.
    void refreshRows(int key) override;

    // PARTS.PRKEY of the partner whose documents alone are listed, or kAllPartners.
    int partnerFilter() const { return m_partnerFilter; }
    // The partner filter's box: entering it opens the partner lookup over it.
    QLineEdit* partnerFilterEdit() const { return m_partnerFilterEdit; }
    QToolButton* partnerFilterButton() const { return m_partnerFilterButton; }
    // "Показывать только" (Ctrl+P) of the grid's menu and the filter's drop-down button: the
    // partner lookup.
    QAction* partnerFilterAction() const { return m_partnerFilterAction; }
    // The total's text in the status bar, shown once the grid has shown the rows.
    QLabel* totalLabel() const { return m_totalLabel; }

protected:
    void onNewTriggered() override;
    void onOpenTriggered() override;
    // Opens the kind's document window on the document key, or on a new document for key 0.
    virtual void openDocument(int key);
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onPartnerFilterTriggered();
    void onDocumentClosed(int type, int key);

private:
    void buildPartnerBand();
    void buildTotalBar();
    // Which documents are listed: the kind's, over the shared period, of the partner filter.
    DocumentListFilter listFilter() const;
    void showTotal();
    bool isGridOnScreen() const;
    void openPartnerLookup();
    void onPartnerChosen(const PartnerFilterLookup& lookup);
    void onPartnerCancelled();

    const DocumentBrowserKind& m_kind;
    int m_partnerFilter = kAllPartners;
    QLineEdit* m_partnerFilterEdit = nullptr;
    QToolButton* m_partnerFilterButton = nullptr;
    QAction* m_partnerFilterAction = nullptr;
    QLabel* m_totalLabel = nullptr;
    QTimer m_totalTimer;
    bool m_totalDue = false; // the rows were read again, their total not yet
};

// The incoming payments of a bank account, "Приход на Р/С".
class IncomingPaymentsBrowser final : public DocumentBrowser {
    Q_OBJECT
public:
    static const DocumentBrowserKind kKind;
    explicit IncomingPaymentsBrowser(QWidget* owner = nullptr) : DocumentBrowser(kKind, owner) {}
};

// The payment orders of a bank account, "Расход с Р/С".
class PaymentOrdersBrowser final : public DocumentBrowser {
    Q_OBJECT
public:
    static const DocumentBrowserKind kKind;
    explicit PaymentOrdersBrowser(QWidget* owner = nullptr) : DocumentBrowser(kKind, owner) {}
};

// The cash receipt orders of a cash desk, "Приход в кассу".
class CashReceiptsBrowser final : public DocumentBrowser {
    Q_OBJECT
public:
    static const DocumentBrowserKind kKind;
    explicit CashReceiptsBrowser(QWidget* owner = nullptr) : DocumentBrowser(kKind, owner) {}
};

// The cash disbursement orders of a cash desk, "Расход из кассы".
class CashDisbursementsBrowser final : public DocumentBrowser {
    Q_OBJECT
public:
    static const DocumentBrowserKind kKind;
    explicit CashDisbursementsBrowser(QWidget* owner = nullptr) : DocumentBrowser(kKind, owner) {}
};
