#pragma once

#include <utility>
#include <vector>

// A set of distinct pairs of integers, kept in the order of first insertion.
class XYPairList {
public:
    // Appends the pair unless an equal pair is already in the list.
    void add(int x, int y);

    int count() const { return int(m_items.size()); }

    // An index outside 0..count-1 raises ListError.
    void get(int index, int& x, int& y) const;
    void removeAt(int index);

private:
    void checkIndex(int index) const;

    std::vector<std::pair<int, int>> m_items;
};
