#include "ui/status_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QWindow>

namespace {

constexpr int kShowWaitMs = 1000;

// What the window's painting lets run: the window system's own events, no timer and no input,
// so that nothing of the program (a poll that asks the user something) runs in the middle of
// the operation waited for.
constexpr QEventLoop::ProcessEventsFlags kPaintOnly =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers;

} // namespace

StatusWindow::StatusWindow(QWidget* owner, const QString& caption)
    : QDialog(owner ? owner->window() : nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("statusWindow"));
    setWindowTitle(caption);
    setFixedSize(352, 75);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(13);
    bold.setBold(true);
    setFont(bold);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("pictureLabel"));
    picture->setFixedWidth(49);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QIcon::fromTheme(QStringLiteral("document-print"),
                                        style()->standardIcon(QStyle::SP_FileIcon))
                           .pixmap(32, 32));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addWidget(m_message, 1);
}

QString StatusWindow::text() const {
    return m_message->text();
}

void StatusWindow::showNow() {
    show();
    // The window system shows the window in its own time; until then nothing paints on it.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kShowWaitMs)
        QCoreApplication::processEvents(kPaintOnly, 50);
    paintNow();
}

void StatusWindow::setText(const QString& text) {
    m_message->setText(text);
    if (isVisible())
        paintNow();
}

void StatusWindow::paintNow() {
    QCoreApplication::processEvents(kPaintOnly);
    repaint();
}
