#pragma once

// The keys of the names of the book's director, chief accountant and cashier in ETC of the owner
// row of PARTS; stored data, never renamed.
inline constexpr char kDirectorNameKey[] = "DirectorName";
inline constexpr char kChiefAccountantNameKey[] = "GlavBuhName";
inline constexpr char kCashierNameKey[] = "KassirName";
