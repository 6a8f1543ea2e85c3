#include "util/uDispList.h"

#include "util/uExceptions.h"

QString listIndexError(int index) {
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

TDisposeList::TDisposeList(quint16 itemSize) : m_itemSize(itemSize) {}

TDisposeList::~TDisposeList() {
    Clear();
}

int TDisposeList::AddNew() {
    m_items.push_back(std::make_unique<std::byte[]>(m_itemSize));
    return Count() - 1;
}

std::byte* TDisposeList::Items(int index) const {
    checkIndex(index);
    return m_items[size_t(index)].get();
}

void TDisposeList::Delete(int index) {
    checkIndex(index);
    m_items.erase(m_items.begin() + index);
}

void TDisposeList::Clear() {
    for (auto& item : m_items)
        item.reset();
    m_items.clear();
}

void TDisposeList::checkIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(listIndexError(index));
}
