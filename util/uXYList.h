#pragma once

#include <utility>
#include <vector>

// A set of distinct pairs of integers, kept in the order of first insertion.
class TXYList {
public:
    // Appends the pair unless an equal pair is already in the list.
    void Add(int x, int y);

    int GetCount() const { return int(m_items.size()); }

    // An index outside 0..GetCount-1 raises EListError.
    void Get(int index, int& x, int& y) const;
    void Delete(int index);

private:
    void checkIndex(int index) const;

    std::vector<std::pair<int, int>> m_items;
};
