#pragma once

#include "core/exceptions.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// A property set to a value outside its allowed range.
class InvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A progress gauge: text, a horizontal or vertical bar, a pie or a needle, with the percent
// done written over it. Setting a property repaints at once, and only when the picture
// changes, so a long job on the GUI thread can drive it.
class Gauge : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Text = 0, HorizontalBar = 1, VerticalBar = 2, Pie = 3, Needle = 4 };
    enum class BorderStyle { None = 0, Single = 1 };

    explicit Gauge(QWidget* parent = nullptr);

    int minValue() const { return m_minValue; }
    int maxValue() const { return m_maxValue; }
    int progress() const { return m_progress; }
    Kind kind() const { return m_kind; }
    bool isTextShown() const { return m_showText; }
    BorderStyle borderStyle() const { return m_borderStyle; }
    QColor foreColor() const { return m_foreColor; }
    QColor backColor() const { return m_backColor; }

    // minValue above maxValue, or maxValue below minValue, raises InvalidOperation; after a
    // change the progress is pulled into the new range.
    void setMinValue(int value);
    void setMaxValue(int value);
    // Kept within minValue .. maxValue; repaints only when the whole percent changes.
    void setProgress(int value);
    void addProgress(int value) { setProgress(m_progress + value); }
    void setKind(Kind value);
    void setTextShown(bool value);
    void setBorderStyle(BorderStyle value);
    void setForeColor(const QColor& value);
    void setBackColor(const QColor& value);

    // 0 when maxValue = minValue, else the whole percent of the range done.
    int percentDone() const;
    // The control's picture at its present size.
    QImage renderImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static int solveForX(int percent, int extent);
    void drawKind(QImage& overlay, const QRect& rect) const;
    void drawPie(QPainter& painter, const QRect& rect) const;
    void drawNeedle(QPainter& painter, const QRect& rect) const;
    void drawPercentText(QImage& image, const QRect& rect) const;
    void refresh();

    int m_minValue = 0;
    int m_maxValue = 100;
    int m_progress = 0;
    Kind m_kind = Kind::HorizontalBar;
    bool m_showText = true;
    BorderStyle m_borderStyle = BorderStyle::Single;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
};
