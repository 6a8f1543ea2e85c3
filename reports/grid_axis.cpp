#include "reports/grid_axis.h"

#include <algorithm>

void GridAxis::setCount(int count) {
    m_count = std::max(count, 1);
    m_sizes.resize(size_t(m_count), m_defaultSize);
    m_fixed = std::min(m_fixed, m_count - 1);
    setFirst(m_first);
}

void GridAxis::setFixed(int fixed) {
    m_fixed = std::clamp(fixed, 0, m_count - 1);
    m_first = m_fixed;
}

void GridAxis::setDefaultSize(int size) {
    m_defaultSize = std::max(size, 0);
    std::fill(m_sizes.begin(), m_sizes.end(), m_defaultSize);
}

int GridAxis::size(int index) const {
    return index >= 0 && index < m_count ? m_sizes[size_t(index)] : m_defaultSize;
}

void GridAxis::setSize(int index, int size) {
    if (index >= 0 && index < m_count)
        m_sizes[size_t(index)] = std::max(size, 0);
}

void GridAxis::setLines(int fixedLine, int line) {
    m_fixedLine = fixedLine;
    m_line = line;
}

void GridAxis::setFirst(int first) {
    m_first = std::clamp(first, m_fixed, m_count - 1);
}

int GridAxis::lastFirst(int extent) const {
    int room = extent - distance(0, m_fixed);
    int first = m_count - 1;
    room -= size(first) + lineAfter(first);
    while (first > m_fixed && room >= size(first - 1) + lineAfter(first - 1)) {
        --first;
        room -= size(first) + lineAfter(first);
    }
    return std::max(first, m_fixed);
}

int GridAxis::firstShowing(int index, int extent) const {
    if (index < m_fixed)
        return m_first;
    if (index < m_first)
        return index;
    int room = extent - distance(0, m_fixed) - size(index) - lineAfter(index);
    int first = index;
    while (first > m_first && room >= size(first - 1) + lineAfter(first - 1)) {
        --first;
        room -= size(first) + lineAfter(first);
    }
    return first;
}

std::vector<GridAxis::Span> GridAxis::visible(int extent) const {
    std::vector<Span> spans;
    int start = 0;
    auto add = [&](int index) {
        spans.push_back(Span{index, start, size(index)});
        start += size(index) + lineAfter(index);
    };
    for (int i = 0; i < m_fixed && start < extent; ++i)
        add(i);
    for (int i = m_first; i < m_count && start < extent; ++i)
        add(i);
    return spans;
}

int GridAxis::startOf(int index, int extent) const {
    if (index < 0 || index >= m_count || (index >= m_fixed && index < m_first))
        return -1;
    int start = index < m_fixed ? 0 : distance(0, m_fixed);
    for (int i = index < m_fixed ? 0 : m_first; i < index && start < extent; ++i)
        start += size(i) + lineAfter(i);
    return start < extent ? start : -1;
}

int GridAxis::indexAt(int pixel, int extent) const {
    for (const Span& span : visible(extent))
        if (pixel >= span.start && pixel < span.start + span.size + lineAfter(span.index))
            return span.index;
    return -1;
}

int GridAxis::distance(int from, int to) const {
    int pixels = 0;
    for (int i = from; i < to; ++i)
        pixels += size(i) + lineAfter(i);
    return pixels;
}
