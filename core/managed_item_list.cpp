#include "core/managed_item_list.h"

#include "core/exceptions.h"
#include "core/fixed_block_list.h"

ManagedItemList::ManagedItemList(Creator creator, Disposer disposer)
    : m_creator(std::move(creator)), m_disposer(std::move(disposer)) {}

ManagedItemList::~ManagedItemList() {
    clear();
}

int ManagedItemList::addNew() {
    // Room first, so that a made item always finds its place.
    m_items.reserve(m_items.size() + 1);
    m_items.push_back(m_creator());
    return count() - 1;
}

void* ManagedItemList::item(int index) const {
    checkIndex(index);
    return m_items[size_t(index)];
}

void ManagedItemList::removeAt(int index) {
    checkIndex(index);
    void* item = m_items[size_t(index)];
    m_items.erase(m_items.begin() + index);
    m_disposer(item);
}

void ManagedItemList::clear() {
    while (count() > 0)
        removeAt(count() - 1);
}

void ManagedItemList::checkIndex(int index) const {
    if (index < 0 || index >= count())
        throw ListError(listIndexError(index));
}
