#pragma once

#include "reports/sheet_grid.h"

#include <QLineEdit>
#include <QTest>

// Keys typed over a sheet as a user types them: into the sheet while no cell is edited, into
// the cell's editor while one is.
namespace sheetkeys {

inline QLineEdit* editorOf(SheetGrid& sheet) {
    return sheet.findChild<QLineEdit*>(QStringLiteral("cellEditor"));
}

inline QWidget* keyTarget(SheetGrid& sheet) {
    return sheet.isEditing() ? static_cast<QWidget*>(editorOf(sheet)) : &sheet;
}

// Types text: the first character into the sheet, which opens the editor, the rest into the
// editor.
inline void type(SheetGrid& sheet, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, keyTarget(sheet), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

inline void press(SheetGrid& sheet, Qt::Key key) {
    QTest::keyClick(keyTarget(sheet), key);
}

} // namespace sheetkeys
