#pragma once

#include <QString>

// The options of the open book: key=value text in ETC of the owner row of PARTS (PRKEY 0).
// The class-level accessors read and write single keys through the data store; nothing is
// cached, so two running copies see each other's options at the next read.
class TfrmOptions {
public:
    static QString GetOption(const QString& key);
    static void SetOption(const QString& key, const QString& value);

    // Flags are stored as "-1" and "0"; any text that is no Boolean reads as true.
    static bool GetReservBackupFlag();
    static bool GetYesterdayBackupFlag();
    static bool GetWeekBackupFlag();
    static QString GetStoreCapt();
    static QString GetStoreCurrency(); // "грн." when empty
    static int GetKibitzDelay();       // 500 when not an integer
    static QString GetRezFolder();

    // The Boolean reading of a stored text: a number (0 false, else true), or the words
    // True/False in any case; everything else gives true.
    static bool TextToFlag(const QString& text);
};
