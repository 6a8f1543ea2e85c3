#include "tests/support/ui/dialog_recorder.h"
#include "ui/input_dialog.h"
#include "ui/owned_dialog.h"
#include "ui/text_input_guard.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

namespace {

// How text comes into a field.
enum class Way { Typed, InputMethod, PasteKey, MenuPaste, Dropped };

// A field of one kind, shown, with the text "abc" in it.
class Field {
public:
    explicit Field(const QString& kind) {
        if (kind == QLatin1String("line edit")) {
            auto* edit = new QLineEdit(QStringLiteral("abc"));
            m_window.reset(edit);
            m_field = edit;
        } else if (kind == QLatin1String("plain text edit")) {
            auto* edit = new QPlainTextEdit(QStringLiteral("abc"));
            m_window.reset(edit);
            m_field = edit;
        } else if (kind == QLatin1String("grid cell")) {
            auto* grid = new QTableWidget(1, 1);
            grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("abc")));
            m_window.reset(grid);
            grid->show();
            grid->editItem(grid->item(0, 0));
            m_field = grid->findChild<QLineEdit*>();
        } else {
            auto* form = new OwnedDialog;
            layoutInputQuery(*form, QStringLiteral("Название новой кассы"),
                             QStringLiteral("Название:"), QStringLiteral("abc"));
            m_window.reset(form);
            m_field = form->findChild<QLineEdit*>(QStringLiteral("valueEdit"));
        }
        m_window->show();
        m_field->setFocus();
    }

    QWidget* widget() const { return m_field; }
    QString text() const {
        if (auto* edit = qobject_cast<QLineEdit*>(m_field))
            return edit->text();
        return static_cast<QPlainTextEdit*>(m_field)->toPlainText();
    }
    // Where the mouse, drops and menus of the field arrive.
    QWidget* target() const {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(m_field))
            return edit->viewport();
        return m_field;
    }

private:
    std::unique_ptr<QWidget> m_window;
    QWidget* m_field = nullptr;
};

void send(QWidget* receiver, QEvent* event) {
    QApplication::sendEvent(receiver, event);
}

void enter(const Field& field, Way way, const QString& text) {
    const QPoint inside(4, 4);
    switch (way) {
    case Way::Typed: {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        send(field.widget(), &press);
        break;
    }
    case Way::InputMethod: {
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(text);
        send(field.widget(), &commit);
        break;
    }
    case Way::PasteKey:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field.widget(), Qt::Key_V, Qt::ControlModifier);
        break;
    case Way::MenuPaste: {
        QGuiApplication::clipboard()->setText(text);
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, inside,
                                    field.target()->mapToGlobal(inside));
        send(field.target(), &menuEvent);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().startsWith(QLatin1String("&Paste")))
                paste = action;
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        break;
    }
    case Way::Dropped: {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        send(field.target(), &enter);
        QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        send(field.target(), &drop);
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Way)

class TestTextInputGuard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guardTextInput(*qApp); }

    // Every kind of field refuses a character outside Windows-1251 however it comes, says which
    // one, and keeps its text; text the book holds comes in by the same ways.
    void fieldsTakeOnlyWhatTheBookHolds_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused"); // empty: taken
        QTest::addColumn<QString>("named");
        const char* const kinds[] = {"line edit", "plain text edit", "grid cell", "input dialog"};
        const std::pair<Way, const char*> ways[] = {{Way::Typed, "typed"},
                                                    {Way::InputMethod, "input method"},
                                                    {Way::PasteKey, "Ctrl+V"},
                                                    {Way::MenuPaste, "menu paste"},
                                                    {Way::Dropped, "dropped"}};
        for (const char* kind : kinds)
            for (const auto& [way, wayName] : ways) {
                const QString row = QStringLiteral("%1, %2").arg(kind, wayName);
                QTest::newRow(qPrintable(row + ", emoji"))
                    << kind << way << QStringLiteral("😀") << QStringLiteral("😀")
                    << QStringLiteral("\"😀\" (U+1F600)");
                QTest::newRow(qPrintable(row + ", CJK in words"))
                    << kind << way << QStringLiteral("Да 日本") << QStringLiteral("日")
                    << QStringLiteral("\"日\" (U+65E5)");
                QTest::newRow(qPrintable(row + ", Cyrillic"))
                    << kind << way << QStringLiteral("Ёж №5") << QString() << QString();
            }
    }
    void fieldsTakeOnlyWhatTheBookHolds() {
        QFETCH(QString, kind);
        QFETCH(Way, way);
        QFETCH(QString, text);
        QFETCH(QString, refused);
        QFETCH(QString, named);
        Dialogs dialogs;
        Field field(kind);
        QVERIFY(field.widget());
        enter(field, way, text);
        if (refused.isEmpty()) {
            QVERIFY2(field.text().contains(text), qPrintable(field.text()));
            QCOMPARE(dialogs.texts, QStringList());
            return;
        }
        QCOMPARE(field.text(), QStringLiteral("abc"));
        QCOMPARE(dialogs.texts, QStringList{foreignCharacterMessage(refused)});
        QVERIFY2(dialogs.texts.first().contains(named), qPrintable(dialogs.texts.first()));
        QCOMPARE(dialogs.requests.first().icon, MessageIcon::Warning);
    }

    // A field only shown takes nothing anyway: the guard leaves it alone.
    void readOnlyFieldIsLeftAlone() {
        Dialogs dialogs;
        QLineEdit edit(QStringLiteral("abc"));
        edit.setReadOnly(true);
        edit.show();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("😀"));
        send(&edit, &press);
        QCOMPARE(edit.text(), QStringLiteral("abc"));
        QCOMPARE(dialogs.texts, QStringList());
    }

    // A text put into the input dialog from outside (a file's name) is not taken by OK.
    void inputDialogRefusesAProposedForeignText() {
        Dialogs dialogs;
        OwnedDialog form;
        layoutInputQuery(form, QStringLiteral("Название для новой печатной формы"),
                         QStringLiteral("Название:"), QStringLiteral("Счет 日本"));
        form.show();
        auto* ok = form.findChild<QPushButton*>(QStringLiteral("okButton"));
        ok->click();
        QCOMPARE(dialogs.texts, QStringList{foreignCharacterMessage(QStringLiteral("日"))});
        QVERIFY(form.isVisible());
        form.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(QStringLiteral("Счет"));
        ok->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(dialogs.texts.size(), 1);
    }
};

QTEST_MAIN(TestTextInputGuard)
#include "test_text_input_guard.moc"
