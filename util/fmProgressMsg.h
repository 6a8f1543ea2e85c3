#pragma once

#include "util/fmFormUseWndParent.h"

#include <QTimer>

class TBGauge;

// The file-copy animation: a sheet flying from one folder to the other, played while Active.
// Stopped, it shows its last frame.
class TAnimate : public QWidget {
    Q_OBJECT
public:
    static constexpr int FrameCount = 35;
    static constexpr int StopFrame = FrameCount - 1;

    explicit TAnimate(QWidget* parent = nullptr);

    bool Active() const { return m_timer.isActive(); }
    void SetActive(bool active);
    int Frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void NextFrame();

    QTimer m_timer;
    int m_frame = StopFrame;
};

// A progress window over its owner: the animation and a gauge that the caller drives while
// it works. The caller shows and closes it.
class TfrmProgressMsg : public TfrmFormUseWndParent {
    Q_OBJECT
public:
    explicit TfrmProgressMsg(QWidget* owner = nullptr);

    TAnimate* animProcess;
    TBGauge* Gauge;
};
