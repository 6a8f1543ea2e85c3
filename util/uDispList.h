#pragma once

#include <QString>
#include <cstddef>
#include <memory>
#include <vector>

// An owning list of raw blocks, all of one size fixed at construction. Deleting an item,
// clearing the list or destroying it frees the blocks.
class TDisposeList {
public:
    explicit TDisposeList(quint16 itemSize);
    ~TDisposeList();
    TDisposeList(const TDisposeList&) = delete;
    TDisposeList& operator=(const TDisposeList&) = delete;

    quint16 ItemSize() const { return m_itemSize; }
    int Count() const { return int(m_items.size()); }

    // Appends a new block of ItemSize bytes, filled with zeros; returns its index.
    int AddNew();

    // The block at index; an index outside 0..Count-1 raises EListError.
    std::byte* Items(int index) const;

    // Frees the block at index and removes it; an index outside 0..Count-1 raises EListError.
    void Delete(int index);

    // Frees every block, the first one first.
    void Clear();

private:
    void checkIndex(int index) const;

    quint16 m_itemSize;
    std::vector<std::unique_ptr<std::byte[]>> m_items;
};

// The message of the list error for an index outside the list.
QString listIndexError(int index);
