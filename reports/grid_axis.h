#pragma once

#include <QtGlobal>
#include <vector>

// One direction of a sheet grid, its columns or its rows: how many there are, how many lead as
// fixed ones that never scroll, their sizes in pixels, the lines after them and the first
// scrolling one shown. Finding what shows where costs the logarithm of the count, not the
// count: a grid of a million columns scrolls and paints as fast as one of ten.
class GridAxis {
public:
    // A column or row on the screen: its index, where it starts and its size.
    struct Span {
        int index = 0;
        int start = 0;
        int size = 0;
    };

    // The widest column and the highest row, in pixels; a larger size is taken as this one.
    static constexpr int kMaxSize = 5000;

    explicit GridAxis(int defaultSize);

    int count() const { return m_count; }
    // At least 1; the fixed ones and the first shown are kept inside it.
    void setCount(int count);
    int fixed() const { return m_fixed; }
    // Kept between 0 and count() - 1; the first shown becomes the first after them.
    void setFixed(int fixed);

    int defaultSize() const { return m_defaultSize; }
    // Every column (row) takes the new size, kept between 0 and kMaxSize.
    void setDefaultSize(int size);
    // The default size for an index outside the axis.
    int size(int index) const;
    // Ignored outside the axis; the size is kept between 0 and kMaxSize.
    void setSize(int index, int size);

    // The width of the line after index: lines of fixed and of scrolling ones are set apart.
    int lineAfter(int index) const { return index < m_fixed ? m_fixedLine : m_line; }
    void setLines(int fixedLine, int line);

    int first() const { return m_first; }
    // Kept between fixed() and count() - 1.
    void setFirst(int first);
    // The largest first that still fills extent pixels to the end.
    int lastFirst(int extent) const;
    // The first at or below first that shows index inside extent pixels.
    int firstShowing(int index, int extent) const;

    // The fixed ones and then the scrolling ones from first, as far as they start inside extent;
    // those that take no pixels at all (no size, no line) are left out.
    std::vector<Span> visible(int extent) const;
    // How many of visible(extent) scroll.
    int scrollingShown(int extent) const;
    // Where index starts on the screen, or -1 when it is not shown inside extent pixels.
    int startOf(int index, int extent) const;
    // The index shown at pixel, or -1.
    int indexAt(int pixel, int extent) const;
    // The pixels from the start of from to the start of to (sizes and lines between), both
    // inside the axis; 0 when to is not after from.
    qint64 distance(int from, int to) const;

private:
    // The pixels an index takes: its size and the line after it.
    int extentOf(int index) const { return size(index) + lineAfter(index); }
    // The pixels from the start of index 0 to the start of index (0 .. count()).
    qint64 offset(int index) const;
    // The first index of from .. to - 1 that ends after pixel (counted as offset() counts), or
    // to when none does.
    int firstEndingAfter(qint64 pixel, int from, int to) const;
    // The first index of from .. to whose distance to to is at most room.
    int firstWithin(qint64 room, int from, int to) const;
    // Appends the spans of from .. to - 1 that start inside extent, from start on the screen.
    void addSpans(std::vector<Span>& spans, int from, int to, int& start, int extent) const;
    // The sums of the sizes, as a binary indexed tree over m_sizes.
    void rebuildSums();
    qint64 sizesBefore(int index) const;

    int m_count = 5;
    int m_fixed = 1;
    int m_defaultSize;
    std::vector<int> m_sizes;
    std::vector<qint64> m_sums;
    int m_fixedLine = 1;
    int m_line = 1;
    int m_first = 1;
};
