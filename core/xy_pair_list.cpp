#include "core/xy_pair_list.h"

#include "core/exceptions.h"
#include "core/fixed_block_list.h"

#include <algorithm>

void XYPairList::add(int x, int y) {
    const std::pair<int, int> item(x, y);
    if (std::find(m_items.begin(), m_items.end(), item) == m_items.end())
        m_items.push_back(item);
}

void XYPairList::get(int index, int& x, int& y) const {
    checkIndex(index);
    x = m_items[size_t(index)].first;
    y = m_items[size_t(index)].second;
}

void XYPairList::removeAt(int index) {
    checkIndex(index);
    m_items.erase(m_items.begin() + index);
}

void XYPairList::checkIndex(int index) const {
    if (index < 0 || index >= count())
        throw ListError(listIndexError(index));
}
