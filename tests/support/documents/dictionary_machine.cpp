#include "tests/support/documents/dictionary_machine.h"

#include "core/cp1251.h"
#include "documents/dictionary_pane.h"
#include "tests/support/shell/book_machine.h"
#include "ui/data_grid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

DictionaryMachine::DictionaryMachine() {
    machine.start();
}

DictionaryMachine::~DictionaryMachine() {
    if (machine.main)
        machine.main->close();
    machine.main.reset();
}

void DictionaryMachine::execute(const QString& sql) {
    ::execute(machine.book, sql);
}

QString DictionaryMachine::value(const QString& sql) {
    return readValue(machine.book, sql);
}

QByteArray DictionaryMachine::bytes(const QString& sql) {
    return cp1251::encode(value(sql));
}

QStringList columnTexts(DictionaryPane& pane, const QString& field) {
    DataGrid& grid = *pane.grid();
    const int column = columnIndexByFieldName(grid, field);
    QStringList texts;
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        texts << grid.model()->index(row, column).data().toString();
    return texts;
}

void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        type(edit, text);
}

void whenModalShows(const std::function<void(QDialog&)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no modal dialog is shown");
        answer(*dialog);
    });
}
