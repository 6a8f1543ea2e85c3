#pragma once

#include <QString>
#include <cstddef>
#include <memory>
#include <vector>

// An owning list of raw blocks, all of one size fixed at construction. Deleting an item,
// clearing the list or destroying it frees the blocks.
class FixedBlockList {
public:
    explicit FixedBlockList(quint16 itemSize);
    ~FixedBlockList();
    FixedBlockList(const FixedBlockList&) = delete;
    FixedBlockList& operator=(const FixedBlockList&) = delete;

    quint16 itemSize() const { return m_itemSize; }
    int count() const { return int(m_items.size()); }

    // Appends a new block of itemSize bytes, filled with zeros; returns its index.
    int addNew();

    // The block at index; an index outside 0..count()-1 raises ListError.
    std::byte* item(int index) const;

    // Frees the block at index and removes it; an index outside 0..count()-1 raises ListError.
    void removeAt(int index);

    // Frees every block, the first one first.
    void clear();

private:
    void checkIndex(int index) const;

    quint16 m_itemSize;
    std::vector<std::unique_ptr<std::byte[]>> m_items;
};

// The message of the list error for an index outside the list.
QString listIndexError(int index);
