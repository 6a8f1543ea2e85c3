#pragma once

#include "store/book_kind.h"

#include <QString>

namespace fb {
class Attachment;
}

// What a generated book holds: a year of documents on its working days, the partners they name
// (payers and recipients, half each) and the payment types (income and issue), every document
// with its HISTORY rows, and limits on the issue types (a third 0, a third under and a third
// over their spending in an average month). The same parameters always give the same book.
struct BookParameters {
    BookKind kind = BookKind::BankAccount;
    int year = 2024;
    int documents = 100000;
    int partners = 2000;
    int paymentTypes = 60;
    unsigned seed = 1;
};

// The name of the parameters, for the cache: "bank-2024-d100000-p2000-t60-s1-l1" (the last part
// names the way the limits are set, so that a book made before them is not taken).
QString parametersName(const BookParameters& parameters);

// Fills a new, empty book (as the new-book command leaves it) with the partners, payment types,
// documents and their HISTORY rows, in one transaction, and sets the generators above the keys
// used.
void fillBook(fb::Attachment& book, const BookParameters& parameters);

// The book of the parameters kept under cacheFolder, made first when it is not there: a folder
// named by the parameters holding the book file. A book whose making did not finish is never
// taken. Needs the data store (for the new-book code); templatesFolder holds the default print
// templates.
QString cachedBook(const QString& cacheFolder, const QString& templatesFolder,
                   const BookParameters& parameters);
