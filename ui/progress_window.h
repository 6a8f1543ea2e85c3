#pragma once

#include "ui/owned_dialog.h"

#include <QTimer>

class Gauge;

// The file-copy animation: a sheet flying from one folder to the other, played while active.
// Stopped, it shows its last frame.
class CopyAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameCount = 35;
    static constexpr int kStopFrame = kFrameCount - 1;

    explicit CopyAnimation(QWidget* parent = nullptr);

    bool isActive() const { return m_timer.isActive(); }
    void setActive(bool active);
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void onTimerTimeout();

private:
    QTimer m_timer;
    int m_frame = kStopFrame;
};

// A progress window over its owner: the animation and a gauge that the caller drives while
// it works. The caller shows and closes it.
class ProgressWindow : public OwnedDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* owner = nullptr);

    CopyAnimation* animation() const { return m_animation; }
    Gauge* gauge() const { return m_gauge; }

private:
    CopyAnimation* m_animation;
    Gauge* m_gauge;
};
