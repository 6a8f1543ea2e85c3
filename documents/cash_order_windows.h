#pragma once

#include "documents/document_window.h"

class QGroupBox;

// The documents of a cash desk: a window with three text lines ("Вариантно", "Основание",
// "Приложение") and two accounting fields kept in the document's ETC text, the correspondent
// account (key "DT") and the analytical accounting code (key "KT"). A payment type leaves the
// text lines alone.
class CashOrderWindow : public DocumentWindow {
    Q_OBJECT
public:
    QLineEdit* purposeEdit(int line) const { return m_purposeEdits[line]; }
    QLineEdit* accountEdit() const { return m_accountEdit; }
    QLineEdit* analyticsEdit() const { return m_analyticsEdit; }

protected:
    CashOrderWindow(DocumentKind kind, const QString& title);

    // The correspondent account and the accounting code side by side.
    QWidget* accountsRow() const { return m_accountsRow; }
    QGroupBox* purposeGroup(int line) const { return m_purposeGroups[line]; }

private:
    QWidget* m_accountsRow = nullptr;
    QLineEdit* m_accountEdit = nullptr;
    QLineEdit* m_analyticsEdit = nullptr;
    QGroupBox* m_purposeGroups[3] = {};
    QLineEdit* m_purposeEdits[3] = {};
};

// A cash receipt order (OPER.TYP 1, from a payer) with the value-added-tax part of its amount;
// a new one has the correspondent account "301".
class CashReceiptWindow : public CashOrderWindow {
    Q_OBJECT
    friend class DocumentWindow;

public:
    QLineEdit* taxEdit() const { return m_taxEdit; }

protected:
    void prepareNewDocument(CashDocument& document) override;

private:
    CashReceiptWindow();

    QLineEdit* m_taxEdit = nullptr;
};

// A cash disbursement order (OPER.TYP 2, to a recipient), numbered as payment orders are.
class CashDisbursementWindow : public CashOrderWindow {
    Q_OBJECT
    friend class DocumentWindow;

protected:
    void prepareNewDocument(CashDocument& document) override;

private:
    CashDisbursementWindow();
};
