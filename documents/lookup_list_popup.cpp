#include "documents/lookup_list_popup.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

// The data of an item that is no record.
constexpr int kNoRecord = -1;

bool isListKey(int key) {
    return key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up ||
           key == Qt::Key_Down;
}

} // namespace

LookupListPopup::LookupListPopup(QWidget* owner) : LookupPopup(owner) {
    m_list = new QListWidget(clientArea());
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFocusPolicy(Qt::NoFocus); // the caret stays in the filter edit
    clientArea()->layout()->addWidget(m_list);
    connect(m_list, &QListWidget::itemClicked, this, &LookupListPopup::onItemClicked);
}

bool LookupListPopup::matches(const QString& name, const QString& filter) {
    return name.toUpper().contains(filter.toUpper());
}

void LookupListPopup::setup(const QRect& anchor, const QString& text) {
    loadItems();
    LookupPopup::setup(anchor, text);
}

void LookupListPopup::applyFilter() {
    LookupPopup::applyFilter();
    filterItems();
}

void LookupListPopup::fireSelect() {
    if (m_list->count() == 0 && notFoundHandled())
        return;
    LookupPopup::fireSelect();
}

void LookupListPopup::fillList(const QString& filter) {
    m_list->clear();
    for (int i = 0; i < m_records.size(); ++i) {
        if (!matches(m_records[i].name, filter))
            continue;
        auto* item = new QListWidgetItem(m_records[i].name, m_list);
        item->setData(Qt::UserRole, i);
    }
}

void LookupListPopup::addLeadingItem(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, kNoRecord);
    m_list->insertItem(0, item);
}

void LookupListPopup::selectRow(int row) {
    m_list->setCurrentRow(row);
    m_list->scrollToItem(m_list->currentItem());
}

int LookupListPopup::rowOfKey(int key) const {
    for (int row = 0; row < m_list->count(); ++row) {
        const DictionaryEntry* record = recordOf(m_list->item(row));
        if (record && record->key == key)
            return row;
    }
    return -1;
}

const DictionaryEntry* LookupListPopup::recordOf(const QListWidgetItem* item) const {
    const int index = item->data(Qt::UserRole).toInt();
    return index == kNoRecord ? nullptr : &m_records[index];
}

QListWidgetItem* LookupListPopup::selectedItem() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

bool LookupListPopup::hasChoice() const {
    return selectedItem() != nullptr;
}

int LookupListPopup::chosenKey() const {
    const QListWidgetItem* item = selectedItem();
    if (!item)
        return 0;
    const DictionaryEntry* record = recordOf(item);
    return record ? record->key : kNoRecord;
}

QString LookupListPopup::chosenText() const {
    const QListWidgetItem* item = selectedItem();
    return item ? item->text() : QString();
}

bool LookupListPopup::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (watched == filterEdit() && keyEvent && isListKey(static_cast<QKeyEvent*>(event)->key())) {
        QCoreApplication::sendEvent(m_list, event);
        return true;
    }
    return LookupPopup::eventFilter(watched, event);
}

void LookupListPopup::onItemClicked() {
    closeWithChoice();
}
