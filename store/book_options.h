#pragma once

#include <QString>

class DataStore;

// The keys of the book's options in ETC of the owner row; stored data, never renamed.
inline constexpr char kReservBackupFlagKey[] = "ReservBackupFlag";
inline constexpr char kYesterdayBackupFlagKey[] = "YesterdayBackupFlag";
inline constexpr char kWeekBackupFlagKey[] = "WeekBackupFlag";
inline constexpr char kStoreCaptionKey[] = "StoreCapt";
inline constexpr char kStoreCurrencyKey[] = "StoreCurrency";
inline constexpr char kLookupDelayKey[] = "KibitzDelay";
inline constexpr char kExtraBackupFolderKey[] = "RezFolder";
inline constexpr char kBookVersionKey[] = "DBVersion";

// The options of the open book: key=value text in ETC of the owner row of PARTS (PRKEY 0),
// read and written one key at a time through the data store. Nothing is cached, so two running
// copies see each other's options at the next read.
class BookOptions {
public:
    explicit BookOptions(DataStore& store) : m_store(store) {}

    QString option(const QString& key) const;
    void setOption(const QString& key, const QString& value);

    // Flags are stored as "-1" and "0"; any text that is no Boolean reads as true.
    bool reservBackupFlag() const;
    bool yesterdayBackupFlag() const;
    bool weekBackupFlag() const;
    QString storeCaption() const;
    QString storeCurrency() const; // "грн." when empty
    int lookupDelay() const;       // 500 when not an integer
    QString extraBackupFolder() const;

    // The Boolean reading of a stored text: a number, whole or with a fraction and exponent
    // (zero false, else true: "0.0" is false), or the words True/False in any case; everything
    // else, the empty text included, gives fallback.
    static bool textToFlag(const QString& text, bool fallback = true);
    // The stored text of a flag.
    static QString flagText(bool value);
    // The lookup delay a text gives: the integer it holds, else 500.
    static int lookupDelayOf(const QString& text);

private:
    DataStore& m_store;
};
