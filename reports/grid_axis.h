#pragma once

#include <vector>

// One direction of a sheet grid, its columns or its rows: how many there are, how many lead as
// fixed ones that never scroll, their sizes in pixels, the lines after them and the first
// scrolling one shown.
class GridAxis {
public:
    // A column or row on the screen: its index, where it starts and its size.
    struct Span {
        int index = 0;
        int start = 0;
        int size = 0;
    };

    explicit GridAxis(int defaultSize) : m_defaultSize(defaultSize) {}

    int count() const { return m_count; }
    // At least 1; the fixed ones and the first shown are kept inside it.
    void setCount(int count);
    int fixed() const { return m_fixed; }
    // Kept between 0 and count() - 1; the first shown becomes the first after them.
    void setFixed(int fixed);

    int defaultSize() const { return m_defaultSize; }
    // Every column (row) takes the new size.
    void setDefaultSize(int size);
    // The default size for an index outside the axis.
    int size(int index) const;
    // Ignored outside the axis; a size below 0 is taken as 0.
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

    // The fixed ones and then the scrolling ones from first, as far as they start inside extent.
    std::vector<Span> visible(int extent) const;
    // Where index starts on the screen, or -1 when it is not shown inside extent pixels.
    int startOf(int index, int extent) const;
    // The index shown at pixel, or -1.
    int indexAt(int pixel, int extent) const;
    // The pixels from the start of from to the start of to (sizes and lines between).
    int distance(int from, int to) const;

private:
    int m_count = 5;
    int m_fixed = 1;
    int m_defaultSize;
    std::vector<int> m_sizes = std::vector<int>(5, m_defaultSize);
    int m_fixedLine = 1;
    int m_line = 1;
    int m_first = 1;
};
