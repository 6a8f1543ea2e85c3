#pragma once

class DataStore;

// The kind of a book: PARTS.LOWNER of the owner row.
enum class BookKind { BankAccount = 0, CashDesk = 1 };

// The owner row of PARTS: the book's own requisites and options.
inline constexpr int kOwnerKey = 0;

// PARTS.LOWNER of the owner row of the open book: 0 bank account, 1 cash desk (a book may hold
// another value). A value that is no integer raises ConvertError.
int ownerType(DataStore& store);
