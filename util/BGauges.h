#pragma once

#include "util/uExceptions.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// A property set to a value outside its allowed range.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A bitmap laid over the gauge's picture before it is combined with it.
class TBltBitmap : public QImage {
public:
    TBltBitmap() = default;
    // Takes the other bitmap's size and fills the whole bitmap with the window-frame colour.
    void MakeLike(const QImage& bitmap);
};

// A progress gauge: text, a horizontal or vertical bar, a pie or a needle, with the percent
// done written over it. Setting a property repaints at once, and only when the picture
// changes, so a long job on the GUI thread can drive it.
class TBGauge : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Text = 0, HorizontalBar = 1, VerticalBar = 2, Pie = 3, Needle = 4 };
    enum class BorderStyle { None = 0, Single = 1 };

    explicit TBGauge(QWidget* parent = nullptr);

    int MinValue() const { return m_minValue; }
    int MaxValue() const { return m_maxValue; }
    int Progress() const { return m_progress; }
    Kind kind() const { return m_kind; }
    bool ShowText() const { return m_showText; }
    BorderStyle borderStyle() const { return m_borderStyle; }
    QColor ForeColor() const { return m_foreColor; }
    QColor BackColor() const { return m_backColor; }

    // MinValue above MaxValue, or MaxValue below MinValue, raises EInvalidOperation; after a
    // change Progress is pulled into the new range.
    void SetMinValue(int value);
    void SetMaxValue(int value);
    // Kept within MinValue .. MaxValue; repaints only when the whole percent changes.
    void SetProgress(int value);
    void AddProgress(int value) { SetProgress(m_progress + value); }
    void SetKind(Kind value);
    void SetShowText(bool value);
    void SetBorderStyle(BorderStyle value);
    void SetForeColor(const QColor& value);
    void SetBackColor(const QColor& value);

    // 0 when MaxValue = MinValue, else the whole percent of the range done.
    int PercentDone() const;
    // The control's picture at its present size.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static int SolveForX(int percent, int extent);
    void DrawKind(QImage& overlay, const QRect& rect) const;
    void DrawPie(QPainter& painter, const QRect& rect) const;
    void DrawNeedle(QPainter& painter, const QRect& rect) const;
    void DrawPercentText(QImage& image, const QRect& rect) const;
    void Refresh();

    int m_minValue = 0;
    int m_maxValue = 100;
    int m_progress = 0;
    Kind m_kind = Kind::HorizontalBar;
    bool m_showText = true;
    BorderStyle m_borderStyle = BorderStyle::Single;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
};
