#pragma once

#include "ui/action_builder.h"

#include <QString>

class QAction;
class QMenu;
class QObject;
class QToolBar;
class QToolButton;
class QWidget;

// A command of a tool bar: its caption and one of the data store's images, owned by owner. The
// same action goes to the tool button, to any menu that offers the command and to its shortcut.
QAction* toolAction(QObject* owner, const QString& name, const QString& caption, int image);

// A flat tool-bar button that runs action, its caption under its image, with its help context,
// added to bar.
QToolButton* addActionButton(QToolBar* bar, QAction* action, const QString& name, int helpContext);

// A flat tool-bar button with its caption under one of the data store's images and its help
// context, added to bar: a click on the button itself drops menu down as its arrow does.
QToolButton* addMenuButton(QToolBar* bar, QMenu* menu, const QString& name, const QString& caption,
                           int image, int helpContext);
