#pragma once

#include <QDialog>

class QLabel;

// A small window over its owner that says what a long operation is doing while the program
// waits for it: a picture on the left and one line of text. Shown without modality and painted
// at once, as is each new text, before the caller goes on waiting; meanwhile the user's input
// and the program's timers wait too: painting runs nothing else of the program.
class StatusWindow : public QDialog {
    Q_OBJECT
public:
    StatusWindow(QWidget* owner, const QString& caption);

    // Shows the window and paints it once the window system has put it on the screen.
    void showNow();

    QString text() const;
    // Shows the text and paints it now.
    void setText(const QString& text);

private:
    void paintNow();

    QLabel* m_message;
};
