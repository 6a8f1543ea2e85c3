#pragma once

#include "documents/dictionary_pane.h"

class QButtonGroup;

// The payment types (table REASONS), "Типы платежей": a name and the kind, income or issue; a
// new one is an issue. Renaming or hiding a payment type renames it in its documents too (the
// book's trigger does it by the text).
class PaymentTypesPane final : public DictionaryPane {
    Q_OBJECT
public:
    static constexpr const char* kLayoutKey = "TfrmVocsReasons";
    static constexpr const char* kRightsArea = "VocsReasons";

    explicit PaymentTypesPane(QWidget* owner = nullptr);
    QString layoutKey() const override { return QString::fromLatin1(kLayoutKey); }

    // The kind: its buttons "Приход" (id 1) and "Расход" (id 2).
    QButtonGroup* kindButtons() const { return m_kindButtons; }

protected:
    QString rowsSelect(bool hiddenView) const override;
    QString rightsArea() const override { return QString::fromLatin1(kRightsArea); }
    void initNewRow() override;
    void beforePost() override;

private slots:
    void onKindClicked(int kind);

private:
    void showKind();

    QButtonGroup* m_kindButtons = nullptr;
};
