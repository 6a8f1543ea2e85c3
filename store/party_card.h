#pragma once

#include <QString>

class DataStore;

// The requisites of a party to a document, as its printed forms show them: a row of PARTS.
struct PartyCard {
    QString name;      // LNAM
    QString bank;      // INBANK
    QString bankCity;  // INCITY
    QString mfo;       // MFO, the bank's code
    QString account;   // RS
    QString code;      // ID, the enterprise's code
    QString taxNumber; // INDN
    QString city;      // CITY
    QString extra;     // ETC, the key=value text (the owner's names and the book's options)
};

// The card of the partner key of the open book (the owner's for key 0); an empty card when there
// is no such row.
PartyCard readPartyCard(DataStore& store, int key);
