#pragma once

#include <QString>

class QWidget;
class OwnedDialog;

// A modal input dialog over owner, with "OK" and "Отмена"; true and value := the text entered
// when closed with OK, false and value unchanged otherwise. OK does not take a text with a
// character that Windows-1251 cannot hold: it says so and the dialog stays.
bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value);

// Lays out the input dialog of inputQueryEx on form: "promptLabel", "valueEdit", "okButton",
// "cancelButton", in dialog units of the form's font.
void layoutInputQuery(OwnedDialog& form, const QString& caption, const QString& prompt,
                      const QString& value);
