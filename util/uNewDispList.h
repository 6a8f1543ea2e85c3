#pragma once

#include <functional>
#include <vector>

// An owning list of items that a caller-supplied pair of functions makes and frees.
class TNewDisposeList {
public:
    using TCreator = std::function<void*()>;
    using TDisposer = std::function<void(void*)>;

    TNewDisposeList(TCreator creator, TDisposer disposer);
    ~TNewDisposeList();
    TNewDisposeList(const TNewDisposeList&) = delete;
    TNewDisposeList& operator=(const TNewDisposeList&) = delete;

    int Count() const { return int(m_items.size()); }

    // Appends what Creator returns; returns its index.
    int AddNew();

    // The item at index; an index outside 0..Count-1 raises EListError.
    void* Items(int index) const;

    // Removes the item at index and hands it to Disposer; a bad index raises EListError.
    void Delete(int index);

    // Frees every item, the last one first.
    void Clear();

private:
    void checkIndex(int index) const;

    TCreator m_creator;
    TDisposer m_disposer;
    std::vector<void*> m_items;
};
