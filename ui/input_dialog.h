#pragma once

#include <QString>

class QWidget;
class OwnedDialog;

// A modal input dialog over owner; true and value := the text entered when closed with OK,
// false and value unchanged otherwise.
bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value);

// Lays out the input dialog of inputQueryEx on form: "promptLabel", "valueEdit", "okButton",
// "cancelButton", in dialog units of the form's font.
void layoutInputQuery(OwnedDialog& form, const QString& caption, const QString& prompt,
                      const QString& value);
