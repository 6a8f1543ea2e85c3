#include "shell/tool_buttons.h"

#include "ui/action_builder.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

QAction* toolAction(QObject* owner, const QString& name, const QString& caption, int image) {
    return buildAction(owner, {.name = name, .text = caption, .image = image});
}

QToolButton* addActionButton(QToolBar* bar, QAction* action, const QString& name, int helpContext) {
    QToolButton* button = addActionButton(bar, action, name);
    setHelpContext(button, helpContext);
    return button;
}

QToolButton* addMenuButton(QToolBar* bar, QMenu* menu, const QString& name, const QString& caption,
                           int image, int helpContext) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setText(caption);
    button->setIcon(toolImage(image));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    setHelpContext(button, helpContext);
    bar->addWidget(button);
    return button;
}
