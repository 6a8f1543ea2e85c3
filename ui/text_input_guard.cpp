#include "ui/text_input_guard.h"

#include "core/cp1251.h"
#include "ui/message_box.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

bool isEditableText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
        return !edit->isReadOnly();
    return false;
}

// The editable text field that object's events are for: the field itself, or the multi-line
// edit whose viewport gets its mouse, drop and menu events; nullptr for anything else.
QWidget* textFieldOf(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    auto* area = qobject_cast<QAbstractScrollArea*>(widget->parentWidget());
    if (area && area->viewport() == widget)
        widget = area;
    if (!isEditableText(widget) || widget->window()->inherits("QFileDialog"))
        return nullptr;
    return widget;
}

QString clipboardText(QClipboard::Mode mode = QClipboard::Clipboard) {
    return QGuiApplication::clipboard()->text(mode);
}

// The text that event would put into a field; empty for an event that puts none.
QString incomingText(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        return key->matches(QKeySequence::Paste) ? clipboardText() : key->text();
    }
    case QEvent::InputMethod:
        return static_cast<QInputMethodEvent*>(event)->commitString();
    case QEvent::Drop: {
        const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
        return data ? data->text() : QString();
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection())
            return clipboardText(QClipboard::Selection);
        return QString();
    default:
        return QString();
    }
}

void refuse(QWidget* field, const QString& character) {
    showWarning(field->window(), foreignCharacterMessage(character));
}

// The "Paste" of a field's standard context menu: named so by the multi-line edit; the line
// edit's is known by its text, the one it gives it.
bool isPasteAction(const QAction* action) {
    return action->objectName() == QLatin1String("edit-paste") ||
           action->text().section(QLatin1Char('\t'), 0, 0) ==
               QCoreApplication::translate("QLineEdit", "&Paste");
}

// The field's own context menu, whose "Paste" refuses the clipboard's text with the warning.
void showMenuRefusingPaste(QWidget* field, const QPoint& globalPos, const QString& character) {
    QMenu* menu = nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        menu = edit->createStandardContextMenu();
    else
        menu = static_cast<QPlainTextEdit*>(field)->createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (!isPasteAction(action))
            continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, field,
                         [field, character] { refuse(field, character); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

class TextInputGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::Drop:
        case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
            break;
        default:
            return false;
        }
        QWidget* field = textFieldOf(watched);
        if (!field)
            return false;
        if (event->type() == QEvent::ContextMenu) {
            const QString character = cp1251::firstForeignCharacter(clipboardText());
            if (character.isEmpty())
                return false;
            showMenuRefusingPaste(field, static_cast<QContextMenuEvent*>(event)->globalPos(),
                                  character);
            return true;
        }
        const QString character = cp1251::firstForeignCharacter(incomingText(event));
        if (character.isEmpty())
            return false;
        if (event->type() == QEvent::InputMethod) {
            QInputMethodEvent cleared; // the input method's unfinished text goes too
            QCoreApplication::sendEvent(watched, &cleared);
        } else if (event->type() == QEvent::Drop) {
            QDragLeaveEvent leave; // the field stops showing where the text would go
            QCoreApplication::sendEvent(watched, &leave);
            event->ignore();
        }
        refuse(field, character);
        return true;
    }
};

} // namespace

void guardTextInput(QApplication& app) {
    const QString name = QStringLiteral("textInputGuard");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* guard = new TextInputGuard(&app);
    guard->setObjectName(name);
    app.installEventFilter(guard);
}

QString foreignCharacterMessage(const QString& character) {
    return QStringLiteral("Символ %1 нельзя ввести: книга хранит текст в кодировке "
                          "Windows-1251, а в ней такого символа нет.")
        .arg(cp1251::characterName(character));
}
