#pragma once

#include <QWidget>

// The common base of the windows that the main window runs (panes and document windows): they
// share the program's window font, Arial 13 pixels bold.
class TfrmRun : public QWidget {
    Q_OBJECT
public:
    explicit TfrmRun(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
};
