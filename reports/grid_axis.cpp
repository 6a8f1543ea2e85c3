#include "reports/grid_axis.h"

#include <algorithm>

namespace {

int keptSize(int size) {
    return std::clamp(size, 0, GridAxis::kMaxSize);
}

} // namespace

GridAxis::GridAxis(int defaultSize)
    : m_defaultSize(keptSize(defaultSize)), m_sizes(size_t(m_count), m_defaultSize) {
    rebuildSums();
}

void GridAxis::setCount(int count) {
    m_count = std::max(count, 1);
    m_sizes.resize(size_t(m_count), m_defaultSize);
    rebuildSums();
    m_fixed = std::min(m_fixed, m_count - 1);
    setFirst(m_first);
}

void GridAxis::setFixed(int fixed) {
    m_fixed = std::clamp(fixed, 0, m_count - 1);
    m_first = m_fixed;
}

void GridAxis::setDefaultSize(int size) {
    m_defaultSize = keptSize(size);
    std::fill(m_sizes.begin(), m_sizes.end(), m_defaultSize);
    rebuildSums();
}

int GridAxis::size(int index) const {
    return index >= 0 && index < m_count ? m_sizes[size_t(index)] : m_defaultSize;
}

void GridAxis::setSize(int index, int size) {
    if (index < 0 || index >= m_count)
        return;
    const int kept = keptSize(size);
    const qint64 change = kept - m_sizes[size_t(index)];
    m_sizes[size_t(index)] = kept;
    for (size_t i = size_t(index) + 1; i < m_sums.size(); i += i & (~i + 1))
        m_sums[i] += change;
}

void GridAxis::setLines(int fixedLine, int line) {
    m_fixedLine = fixedLine;
    m_line = line;
}

void GridAxis::setFirst(int first) {
    m_first = std::clamp(first, m_fixed, m_count - 1);
}

int GridAxis::lastFirst(int extent) const {
    const int last = m_count - 1;
    const qint64 room = extent - offset(m_fixed) - extentOf(last);
    if (room < 0)
        return last;
    return firstWithin(room, m_fixed, last);
}

int GridAxis::firstShowing(int index, int extent) const {
    if (index < m_fixed)
        return m_first;
    if (index < m_first)
        return index;
    const qint64 room = extent - offset(m_fixed) - extentOf(index);
    if (room < 0)
        return index;
    return firstWithin(room, m_first, index);
}

std::vector<GridAxis::Span> GridAxis::visible(int extent) const {
    std::vector<Span> spans;
    int start = 0;
    addSpans(spans, 0, m_fixed, start, extent);
    addSpans(spans, m_first, m_count, start, extent);
    return spans;
}

int GridAxis::scrollingShown(int extent) const {
    const std::vector<Span> spans = visible(extent);
    return int(std::count_if(spans.begin(), spans.end(),
                             [this](const Span& span) { return span.index >= m_fixed; }));
}

void GridAxis::addSpans(std::vector<Span>& spans, int from, int to, int& start, int extent) const {
    for (int index = from; index < to && start < extent; ++index) {
        if (extentOf(index) == 0) {
            index = firstEndingAfter(offset(index), index, to);
            if (index == to)
                return;
        }
        spans.push_back(Span{index, start, size(index)});
        start += extentOf(index);
    }
}

int GridAxis::startOf(int index, int extent) const {
    if (index < 0 || index >= m_count || (index >= m_fixed && index < m_first))
        return -1;
    const qint64 start =
        index < m_fixed ? offset(index) : offset(m_fixed) + distance(m_first, index);
    return start < extent ? int(start) : -1;
}

int GridAxis::indexAt(int pixel, int extent) const {
    if (pixel < 0)
        return -1;
    const qint64 fixedEnd = offset(m_fixed);
    const int index = pixel < fixedEnd
                          ? firstEndingAfter(pixel, 0, m_fixed)
                          : firstEndingAfter(pixel - fixedEnd + offset(m_first), m_first, m_count);
    if (index >= m_count || startOf(index, extent) < 0)
        return -1;
    return index;
}

qint64 GridAxis::distance(int from, int to) const {
    from = std::clamp(from, 0, m_count);
    to = std::clamp(to, 0, m_count);
    return to > from ? offset(to) - offset(from) : 0;
}

qint64 GridAxis::offset(int index) const {
    const qint64 fixedBefore = std::min(index, m_fixed);
    const qint64 scrollingBefore = std::max(index - m_fixed, 0);
    return sizesBefore(index) + fixedBefore * m_fixedLine + scrollingBefore * m_line;
}

int GridAxis::firstEndingAfter(qint64 pixel, int from, int to) const {
    // offset() grows with the index: the first whose end, offset(index + 1), passes pixel.
    int low = from;
    int high = to;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (offset(middle + 1) > pixel)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int GridAxis::firstWithin(qint64 room, int from, int to) const {
    int low = from;
    int high = to;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (distance(middle, to) <= room)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void GridAxis::rebuildSums() {
    // m_sums[i] holds the sizes of the indexes i - lowbit(i) .. i - 1.
    m_sums.assign(m_sizes.size() + 1, 0);
    for (size_t i = 1; i < m_sums.size(); ++i) {
        m_sums[i] += m_sizes[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent < m_sums.size())
            m_sums[parent] += m_sums[i];
    }
}

qint64 GridAxis::sizesBefore(int index) const {
    qint64 sum = 0;
    for (size_t i = size_t(std::clamp(index, 0, m_count)); i > 0; i -= i & (~i + 1))
        sum += m_sums[i];
    return sum;
}
