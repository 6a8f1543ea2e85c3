#pragma once

#include <QString>

class QApplication;

// Text that the book cannot hold never gets into a text field. Once installed on the
// application, every editable line edit (of the windows, panes and cards, of a grid's cell and
// of the input dialogs alike) and every editable multi-line edit refuses input that holds a
// character outside Windows-1251, however it comes: typed, from an input method, pasted by a
// key, the context menu or the middle button, or dropped. Nothing of the refused input enters
// the field, and a warning names the character. The fields of the file dialogs are left alone:
// the names of files are not kept in the book.
void guardTextInput(QApplication& app);

// The warning for a character that Windows-1251 cannot hold.
QString foreignCharacterMessage(const QString& character);
