#include "core/fixed_block_list.h"

#include "core/exceptions.h"

QString listIndexError(int index) {
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

FixedBlockList::FixedBlockList(quint16 itemSize) : m_itemSize(itemSize) {}

FixedBlockList::~FixedBlockList() {
    clear();
}

int FixedBlockList::addNew() {
    m_items.push_back(std::make_unique<std::byte[]>(m_itemSize));
    return count() - 1;
}

std::byte* FixedBlockList::item(int index) const {
    checkIndex(index);
    return m_items[size_t(index)].get();
}

void FixedBlockList::removeAt(int index) {
    checkIndex(index);
    m_items.erase(m_items.begin() + index);
}

void FixedBlockList::clear() {
    for (auto& item : m_items)
        item.reset();
    m_items.clear();
}

void FixedBlockList::checkIndex(int index) const {
    if (index < 0 || index >= count())
        throw ListError(listIndexError(index));
}
