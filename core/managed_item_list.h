#pragma once

#include <functional>
#include <vector>

// An owning list of items that a caller-supplied pair of functions makes and frees.
class ManagedItemList {
public:
    using Creator = std::function<void*()>;
    using Disposer = std::function<void(void*)>;

    ManagedItemList(Creator creator, Disposer disposer);
    ~ManagedItemList();
    ManagedItemList(const ManagedItemList&) = delete;
    ManagedItemList& operator=(const ManagedItemList&) = delete;

    int count() const { return int(m_items.size()); }

    // Appends what the creator returns; returns its index.
    int addNew();

    // The item at index; an index outside 0..count()-1 raises ListError.
    void* item(int index) const;

    // Removes the item at index and hands it to the disposer; a bad index raises ListError.
    void removeAt(int index);

    // Frees every item, the last one first.
    void clear();

private:
    void checkIndex(int index) const;

    Creator m_creator;
    Disposer m_disposer;
    std::vector<void*> m_items;
};
