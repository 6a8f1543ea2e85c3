#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QObject;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

// The object property that holds the help context number of a widget or an action.
inline constexpr char kHelpContextProperty[] = "helpContext";

// A command as the user meets it: on a button, in a menu or a pop-up, under a shortcut.
struct ActionSpec {
    QString name{};          // the action's object name, after its role
    QString text{};          // the caption
    int image = -1;          // one of the shared tool images (ui/tool_images.h); -1 for none
    QKeySequence shortcut{}; // none when empty
    QString statusTip{};
    int helpContext = 0; // 0 for none
};

// The one QAction of a command, owned by owner. Buttons show it, menus add it; its enabled and
// visible states are set on it.
QAction* buildAction(QObject* owner, const ActionSpec& spec);

// A flat tool-bar button that shows action, its caption under its image, named name, with the
// action's help context, added to bar.
QToolButton* addActionButton(QToolBar* bar, QAction* action, const QString& name);

// The same, with menu dropped down by a click on the button as by its arrow.
QToolButton* addMenuButton(QToolBar* bar, QAction* action, QMenu* menu, const QString& name);

// A push button of a dialog or a page, named name, in parent, that shows action: its caption,
// enabled and visible states follow the action, and a click triggers it. The action's shortcut
// stays with the action.
QPushButton* addActionPushButton(QWidget* parent, QAction* action, const QString& name);

// The action through which bar shows and hides widget; nullptr when bar does not hold it.
QAction* toolBarPlace(const QToolBar* bar, const QWidget* widget);

// Shows and hides button with action, from now on: on a tool bar through its place there (so
// that the bar closes up), elsewhere the button itself. A button shown again on a tool bar
// takes its action's enabled state anew, so that a command the user may not run still looks
// disabled.
void followVisibility(QWidget* button, QAction* action);

void setHelpContext(QObject* object, int context);
int helpContext(const QObject* object);
