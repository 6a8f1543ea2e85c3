#pragma once

#include <QDialog>

class QLabel;

// A small window over its owner that says what a long operation is doing while the program
// waits for it: a picture on the left and one line of text. Shown without modality; each new
// text is painted at once, before the caller goes on waiting.
class StatusWindow : public QDialog {
    Q_OBJECT
public:
    StatusWindow(QWidget* owner, const QString& caption);

    QString text() const;
    // Shows the text and paints it now.
    void setText(const QString& text);

private:
    QLabel* m_message;
};
