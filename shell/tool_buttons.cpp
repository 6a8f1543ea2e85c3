#include "shell/tool_buttons.h"

#include "shell/help_viewer.h"
#include "ui/tool_images.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const QString& caption, int image,
                              int helpContext) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(toolImage(image));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    help::setHelpContext(button, helpContext);
    QAction* action = bar->addWidget(button);
    action->setObjectName(name + QStringLiteral("Action"));
    return button;
}
