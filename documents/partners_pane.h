#pragma once

#include "documents/dictionary_pane.h"

// One kind of partners: PARTS.TYP, the pane's title, the key of its grid layouts and its
// rights area.
struct PartnerKind {
    int type;
    const char* title;
    const char* layoutKey;
    const char* rightsArea;
};

// A dictionary of partners (table PARTS) of one kind: their names and bank details. A partner
// needs a name.
class PartnersPane : public DictionaryPane {
    Q_OBJECT
public:
    PartnersPane(const PartnerKind& kind, QWidget* owner = nullptr);

    QString layoutKey() const override { return QString::fromLatin1(m_kind.layoutKey); }
    int partnerType() const { return m_kind.type; }

protected:
    QString rowsSelect(bool hiddenView) const override;
    QString rightsArea() const override { return QString::fromLatin1(m_kind.rightsArea); }
    void initNewRow() override;
    void beforePost() override;

private:
    const PartnerKind& m_kind;
};

// The payers, "Плательщики".
class PayersPane final : public PartnersPane {
    Q_OBJECT
public:
    static const PartnerKind kKind;
    explicit PayersPane(QWidget* owner = nullptr) : PartnersPane(kKind, owner) {}
};

// The recipients of payments, "Получатели".
class RecipientsPane final : public PartnersPane {
    Q_OBJECT
public:
    static const PartnerKind kKind;
    explicit RecipientsPane(QWidget* owner = nullptr) : PartnersPane(kKind, owner) {}
};
