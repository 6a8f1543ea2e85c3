#pragma once

#include "store/dictionary_rows.h"
#include "store/owner_names.h"

#include <QList>
#include <QString>

class DataStore;

namespace fb {
class DataSet;
}

// The partners of the book, table PARTS: the payers and the recipients with their names and
// bank details, and the owner row (PRKEY 0) with the book's own requisites, whose ETC also
// holds the book's options.
inline constexpr char kPartnersTable[] = "PARTS";
inline constexpr char kPartnerNameField[] = "LNAM";

// PARTS.TYP of a payer and of a recipient.
inline constexpr int kPayerType = 1;
inline constexpr int kRecipientType = 2;

// The names of the book's director, chief accountant and cashier, kept in ETC of the owner row
// under the keys of store/owner_names.h.
struct OwnerNames {
    QString director;
    QString chiefAccountant;
    QString cashier;
    bool operator==(const OwnerNames&) const = default;
};

class Partners {
public:
    explicit Partners(DataStore& store) : m_store(store) {}

    // ---- A dictionary of one type ----
    // The select of the partners of type: the hidden ones or the others, whose names contain
    // the parameter :MASK (any case), by name.
    static QString dictionarySelect(int type, bool hiddenView);
    // The writes of a row of the dictionary: every column but ETC, which holds no partner's
    // data.
    static void setDictionaryWrites(fb::DataSet& rows);

    // ---- A partner's card ----
    // Puts on rows the select of no row and the writes of a whole row: a new partner is
    // inserted into it.
    static void selectNoPartner(fb::DataSet& rows);
    // Puts on rows the select of the owner row and the writes of a whole row.
    static void selectOwner(fb::DataSet& rows);

    // ---- The owner's names ----
    static OwnerNames ownerNamesOf(const QString& etc);
    // etc with the three names set; its other records stay.
    static QString withOwnerNames(const QString& etc, const OwnerNames& names);
    // Sets ETC of the owner row being edited in row (opened by selectOwner) to the ETC the book
    // holds now with names set, so that options another copy of the program stored meanwhile
    // stay. The owner row is locked for the row's transaction until it ends. RowChangedElsewhere
    // with changedMessage when the book's row no longer holds what row read (ETC apart), or when
    // one of the three names differs from those of readEtc (ETC as row read it).
    static void takeOwnerNames(fb::DataSet& row, const QString& readEtc, const OwnerNames& names,
                               const QString& changedMessage);

    // ---- The lookups ----
    // The partners of type that are not hidden, by name.
    QList<DictionaryEntry> listed(int type) const;

private:
    DataStore& m_store;
};
