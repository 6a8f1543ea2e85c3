#include "util/uNewDispList.h"

#include "util/uDispList.h"
#include "util/uExceptions.h"

TNewDisposeList::TNewDisposeList(TCreator creator, TDisposer disposer)
    : m_creator(std::move(creator)), m_disposer(std::move(disposer)) {}

TNewDisposeList::~TNewDisposeList() {
    Clear();
}

int TNewDisposeList::AddNew() {
    // Room first, so that a made item always finds its place.
    m_items.reserve(m_items.size() + 1);
    m_items.push_back(m_creator());
    return Count() - 1;
}

void* TNewDisposeList::Items(int index) const {
    checkIndex(index);
    return m_items[size_t(index)];
}

void TNewDisposeList::Delete(int index) {
    checkIndex(index);
    void* item = m_items[size_t(index)];
    m_items.erase(m_items.begin() + index);
    m_disposer(item);
}

void TNewDisposeList::Clear() {
    while (Count() > 0)
        Delete(Count() - 1);
}

void TNewDisposeList::checkIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(listIndexError(index));
}
