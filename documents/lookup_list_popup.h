#pragma once

#include "documents/lookup_popup.h"
#include "store/dictionary_rows.h"

#include <QList>

class QListWidget;
class QListWidgetItem;

// A lookup drop-down whose pop-up lists the records of a dictionary that match the filter. The
// records are read once, when the pop-up is laid out; each filter fills the list anew from them.
// Page Up, Page Down, Up and Down typed into the filter edit move the list's selection; a click
// on an item chooses it.
class LookupListPopup : public LookupPopup {
    Q_OBJECT
public:
    explicit LookupListPopup(QWidget* owner);

    QListWidget* list() const { return m_list; }

    // The choice, read in the callbacks: whether an item is selected, its key (-1 for an item
    // that is no record, 0 when none is selected) and its text.
    bool hasChoice() const;
    int chosenKey() const;
    QString chosenText() const;

    // Whether name contains filter, every letter of Windows-1251 matching its capital; an
    // empty filter matches every name.
    static bool matches(const QString& name, const QString& filter);

protected:
    // Reads the records, then lays the pop-up out.
    void setup(const QRect& anchor, const QString& text) override;
    // Takes the filter and fills the list.
    void applyFilter() override;
    // With an empty list a filter that the not-found callback handles ends the lookup;
    // otherwise the choice is reported, also when nothing is selected.
    void fireSelect() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void loadItems() = 0;
    virtual void filterItems() = 0;

    // The records listed, as the dictionary's class in store/ reads them.
    void setRecords(const QList<DictionaryEntry>& records) { m_records = records; }
    // Empties the list and adds an item for every record whose name matches filter, in order.
    void fillList(const QString& filter);
    // An item at the top of the list that is no record.
    void addLeadingItem(const QString& text);
    void selectRow(int row);
    // The row of the record with key; -1 when it is not listed.
    int rowOfKey(int key) const;

private slots:
    void onItemClicked();

private:
    // The record of an item; nullptr for an item that is no record.
    const DictionaryEntry* recordOf(const QListWidgetItem* item) const;
    QListWidgetItem* selectedItem() const;

    QListWidget* m_list = nullptr;
    QList<DictionaryEntry> m_records;
};
