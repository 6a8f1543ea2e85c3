#pragma once

#include "core/date_time.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <compare>
#include <functional>
#include <qnamespace.h>

class QEvent;
class QFontMetrics;
class QTabWidget;
class QWidget;
class OwnedDialog;

// Small routines shared by the whole program.

// ---- Key=value settings text ----
// Records of a key, "=", a value and the character U+0001, one after another. Keys match
// exactly (case and length); text behind the last U+0001 is no record.

constexpr char16_t kKeyValueRecordEnd = 0x0001;

// The value of the first record of key; empty when there is none.
QString getKeyValue(const QString& text, const QString& key);

// Text without any record of key, then the new record. A key holding "=" or U+0001 is refused
// (Exception); U+0001 is dropped from the value. A tail that is no record is closed first, so
// that it stays apart from the new record.
QString setKeyValue(const QString& text, const QString& key, const QString& value);

// Positions are 1-based, to inclusive. The position of the first occurrence of sub lying wholly
// within from..to of text; from - 1 when there is none or sub is empty.
int posFrom(const QString& sub, const QString& text, int from, int to);

// True when text[from..to] equals sub exactly (an empty sub equals an empty stretch).
bool substrEquals(const QString& sub, const QString& text, int from, int to);

// ---- Numbers and dates ----

// A fixed-point amount with four decimals, kept as a count of 1/10000.
struct Currency {
    static constexpr qint64 kScale = 10000;
    qint64 units = 0;

    double toDouble() const { return double(units) / kScale; }
    friend auto operator<=>(const Currency&, const Currency&) = default;
};

// "." is taken as the decimal separator whatever the locale (the locale's own is accepted too);
// blanks around the number are ignored. Text that is no number raises ConvertError.
Currency strToCurrDot(const QString& s);

// A decimal integer; text that is no integer raises ConvertError ("'x' is not a valid integer
// value"), as the classic conversion does.
int strToInt(const QString& s);

// The month of date, lower case.
QString monthNameRU(DateTime date);
QString monthNameGenRU(DateTime date);
QString monthNameUA(DateTime date);
QString monthNameGenUA(DateTime date);

// ---- Dialogs and messages ----

// A warning box with the application's title and an OK button.
void showWarning(QWidget* owner, const QString& text);

// Asks the same box up to count times while each answer equals expected; true when all count
// answers did (also for count 0, when nothing is asked).
bool messageBoxRepeat(QWidget* wnd, const QString& caption, const QString& text, unsigned flags,
                      int expected, int count);

// A modal input dialog over owner; true and value := the text entered when closed with OK,
// false and value unchanged otherwise.
bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value);

// Lays out the input dialog of inputQueryEx on form: "lblPrompt", "edtValue", "m_okButton",
// "m_cancelButton", in dialog units of the form's font.
void layoutInputQuery(OwnedDialog& form, const QString& caption, const QString& prompt,
                      const QString& value);

// The average width of a letter of the font (over "A".."Z", "a".."z") and the text height.
QSize averageCharWidth(const QFontMetrics& metrics);

// Hides the tab of every page.
void hideAllTabSheets(QTabWidget* pageControl);

// ---- Text and files ----

// Replaces the first occurrence of pattern by replacement and searches again from the start,
// until pattern no longer occurs. An empty pattern leaves text unchanged; a replacement that
// contains pattern would never end and is refused (Exception).
QString stringReplaceAll(const QString& pattern, const QString& replacement, const QString& text);

// Copies the contents of folder source into the existing folder dest, recursively, replacing
// files of the same name. The paths may end in "/" or not. Stops at the first error (Exception);
// what was copied stays.
void copyFolder(const QString& source, const QString& dest);
// Renames source over target in one step: the old target stays until the new one is in place.
// Raises Exception when the rename fails.
void replaceFile(const QString& source, const QString& target);

// Runs program with arguments (no shell) and waits for it to end; its exit code, or -1 when it
// could not be started or did not end normally.
int runAndWait(const QString& program, const QStringList& arguments);

// ---- Keys ----

// True for a press of Enter or Return: the key that moves the focus on in the program's forms.
bool isEnterKeyPress(const QEvent* event);

// ---- Cursor ----

// Shows cursor while method runs; the cursor before it comes back also when method raises.
void execWithCursor(Qt::CursorShape cursor, const std::function<void()>& method);

// execWithCursor with the wait cursor of database work.
void execWithSQLWaitCursor(const std::function<void()>& method);
