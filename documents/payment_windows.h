#pragma once

#include "documents/document_window.h"

// The documents of a bank account: a window with three lines of purpose below the amount. A
// payment type chosen or brought by the partner brings back the purposes of the latest document
// of the same type, partner and payment type, or empties them when there is none.
class PaymentWindow : public DocumentWindow {
    Q_OBJECT
public:
    QLineEdit* purposeEdit(int line) const { return m_purposeEdits[line]; }

protected:
    PaymentWindow(DocumentKind kind, const QString& title);
    void paymentTypeChanged(CashDocument& document) override;

private:
    QLineEdit* m_purposeEdits[3] = {};
};

// An incoming payment (OPER.TYP 1, from a payer); Enter in the amount goes to "Сохранить".
class IncomingPaymentWindow : public PaymentWindow {
    Q_OBJECT
    friend class DocumentWindow;

protected:
    QWidget* widgetAfterEnter(QWidget* field) const override;

private:
    IncomingPaymentWindow();
};

// A payment order (OPER.TYP 2, to a recipient), numbered when the book numbers its issues.
class PaymentOrderWindow : public PaymentWindow {
    Q_OBJECT
    friend class DocumentWindow;

protected:
    void prepareNewDocument(CashDocument& document) override;

private:
    PaymentOrderWindow();
};
