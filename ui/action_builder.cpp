#include "ui/action_builder.h"

#include "ui/tool_images.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

QAction* buildAction(QObject* owner, const ActionSpec& spec) {
    auto* action = new QAction(spec.text, owner);
    action->setObjectName(spec.name);
    if (spec.image >= 0)
        action->setIcon(toolImage(spec.image));
    if (!spec.shortcut.isEmpty())
        action->setShortcut(spec.shortcut);
    if (!spec.statusTip.isEmpty())
        action->setStatusTip(spec.statusTip);
    if (spec.helpContext)
        setHelpContext(action, spec.helpContext);
    return action;
}

QToolButton* addActionButton(QToolBar* bar, QAction* action, const QString& name) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setDefaultAction(action);
    if (const int context = helpContext(action))
        setHelpContext(button, context);
    bar->addWidget(button);
    return button;
}

QToolButton* addMenuButton(QToolBar* bar, QAction* action, QMenu* menu, const QString& name) {
    QToolButton* button = addActionButton(bar, action, name);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

QPushButton* addActionPushButton(QWidget* parent, QAction* action, const QString& name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    if (const int context = helpContext(action))
        setHelpContext(button, context);
    auto show = [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
        if (button->isHidden() == action->isVisible())
            button->setVisible(action->isVisible());
    };
    show();
    QObject::connect(action, &QAction::changed, button, show);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

QAction* toolBarPlace(const QToolBar* bar, const QWidget* widget) {
    for (QAction* place : bar->actions())
        if (bar->widgetForAction(place) == widget)
            return place;
    return nullptr;
}

void followVisibility(QWidget* button, QAction* action) {
    auto* bar = qobject_cast<QToolBar*>(button->parentWidget());
    QAction* place = bar ? toolBarPlace(bar, button) : nullptr;
    auto follow = [button, place, action] {
        const bool visible = action->isVisible();
        if (!place) {
            if (button->isHidden() == visible)
                button->setVisible(visible);
            return;
        }
        if (place->isVisible() == visible)
            return;
        // A place shown again enables its widget whatever the action says.
        place->setVisible(visible);
        button->setEnabled(action->isEnabled());
    };
    follow();
    QObject::connect(action, &QAction::visibleChanged, button, follow);
}

void setHelpContext(QObject* object, int context) {
    object->setProperty(kHelpContextProperty, context);
}

int helpContext(const QObject* object) {
    return object ? object->property(kHelpContextProperty).toInt() : 0;
}
