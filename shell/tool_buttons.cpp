#include "shell/tool_buttons.h"

#include "shell/help_viewer.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

QToolButton* addButton(QToolBar* bar, const QString& name, int helpContext) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    help::setHelpContext(button, helpContext);
    bar->addWidget(button);
    return button;
}

} // namespace

QAction* toolAction(QObject* owner, const QString& name, const QString& caption, int image) {
    auto* action = new QAction(toolImage(image), caption, owner);
    action->setObjectName(name);
    return action;
}

QToolButton* addActionButton(QToolBar* bar, QAction* action, const QString& name, int helpContext) {
    QToolButton* button = addButton(bar, name, helpContext);
    button->setDefaultAction(action);
    return button;
}

QToolButton* addMenuButton(QToolBar* bar, QMenu* menu, const QString& name, const QString& caption,
                           int image, int helpContext) {
    QToolButton* button = addButton(bar, name, helpContext);
    button->setText(caption);
    button->setIcon(toolImage(image));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

QAction* toolBarPlace(const QToolBar* bar, const QWidget* widget) {
    for (QAction* place : bar->actions())
        if (bar->widgetForAction(place) == widget)
            return place;
    return nullptr;
}
