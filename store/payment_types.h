#pragma once

#include "store/dictionary_rows.h"

#include <QList>
#include <QString>

class DataStore;

namespace fb {
class DataSet;
}

// The payment types of the book, table REASONS: a name, the kind (income or issue) and the
// limit of spending. Renaming a type renames it in its documents too (the book's trigger does
// it by the text).
inline constexpr char kPaymentTypesTable[] = "REASONS";
inline constexpr char kPaymentTypeNameField[] = "REASON";

// REASONS.TYP of a payment type of income and of issue.
inline constexpr int kIncomePaymentType = 1;
inline constexpr int kIssuePaymentType = 2;

class PaymentTypes {
public:
    explicit PaymentTypes(DataStore& store) : m_store(store) {}

    // The select of the dictionary: the hidden types or the others, whose names contain the
    // parameter :MASK (any case), by name; the kind also as RTYP, for the kind in words.
    static QString dictionarySelect(bool hiddenView);
    // The writes of a row of the dictionary.
    static void setDictionaryWrites(fb::DataSet& rows);
    // Puts on rows the select of no row and the insert of a new type's name and kind.
    static void selectNoPaymentType(fb::DataSet& rows);

    // The types of a kind that are not hidden, by name.
    QList<DictionaryEntry> listed(int kind) const;

private:
    DataStore& m_store;
};
