#pragma once

#include <QString>

class QToolBar;
class QToolButton;

// A flat tool-bar button with its caption under one of the data store's images and its help
// context, added to bar. The tool bar shows and hides it through its action, named after it.
QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const QString& caption, int image,
                              int helpContext);
