#pragma once

#include <QWidget>

// The common base of the windows that the main window runs (panes and document windows): they
// share the program's window font, Arial 13 pixels bold.
class RunWindow : public QWidget {
    Q_OBJECT
public:
    explicit RunWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
};
