#include "core/exceptions.h"
#include "core/fixed_block_list.h"
#include "core/managed_item_list.h"
#include "core/xy_pair_list.h"

#include <QPoint>
#include <QTest>
#include <cstring>

namespace {

// Items are ints numbered in order of making; the log records which were freed, in order.
struct Fixture {
    int made = 0;
    QList<int> freed;
    ManagedItemList::Creator creator() {
        return [this] { return static_cast<void*>(new int(made++)); };
    }
    ManagedItemList::Disposer disposer() {
        return [this](void* item) {
            freed << *static_cast<int*>(item);
            delete static_cast<int*>(item);
        };
    }
};

int valueAt(const ManagedItemList& list, int index) {
    return *static_cast<int*>(list.item(index));
}

} // namespace

class TestLists : public QObject {
    Q_OBJECT
private slots:
    void fixedBlockListKeepsBlocksOfItsSize() {
        FixedBlockList list(12);
        QCOMPARE(list.addNew(), 0);
        QCOMPARE(list.addNew(), 1);
        QCOMPARE(list.addNew(), 2);
        for (int i = 0; i < list.count(); ++i)
            std::memset(list.item(i), 'a' + i, list.itemSize());
        list.removeAt(1);
        QCOMPARE(list.count(), 2);
        QCOMPARE(char(list.item(0)[11]), 'a');
        QCOMPARE(char(list.item(1)[11]), 'c');
        list.clear();
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.addNew(), 0);
    }

    void badIndexRaisesListError_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("negative") << -1;
        QTest::newRow("count") << 2;
    }
    void badIndexRaisesListError() {
        QFETCH(int, index);
        FixedBlockList blocks(4);
        blocks.addNew();
        blocks.addNew();
        QVERIFY_THROWS_EXCEPTION(ListError, blocks.removeAt(index));
        QVERIFY_THROWS_EXCEPTION(ListError, blocks.item(index));
        QCOMPARE(blocks.count(), 2);

        Fixture f;
        ManagedItemList items(f.creator(), f.disposer());
        items.addNew();
        items.addNew();
        QVERIFY_THROWS_EXCEPTION(ListError, items.removeAt(index));
        QVERIFY_THROWS_EXCEPTION(ListError, items.item(index));
        QCOMPARE(items.count(), 2);
        QVERIFY(f.freed.isEmpty());

        XYPairList pairs;
        pairs.add(1, 1);
        pairs.add(2, 2);
        int x = 0, y = 0;
        QVERIFY_THROWS_EXCEPTION(ListError, pairs.get(index, x, y));
        QVERIFY_THROWS_EXCEPTION(ListError, pairs.removeAt(index));
        QCOMPARE(pairs.count(), 2);
    }

    void managedItemListDeleteFreesThatItem() {
        Fixture f;
        ManagedItemList list(f.creator(), f.disposer());
        QCOMPARE(list.addNew(), 0);
        QCOMPARE(list.addNew(), 1);
        QCOMPARE(list.addNew(), 2);
        list.removeAt(1);
        QCOMPARE(f.freed, QList<int>{1});
        QCOMPARE(list.count(), 2);
        QCOMPARE(valueAt(list, 0), 0);
        QCOMPARE(valueAt(list, 1), 2);
    }

    void managedItemListClearFreesLastFirst() {
        Fixture f;
        ManagedItemList list(f.creator(), f.disposer());
        for (int i = 0; i < 4; ++i)
            list.addNew();
        list.clear();
        QCOMPARE(f.freed, (QList<int>{3, 2, 1, 0}));
        QCOMPARE(list.count(), 0);
    }

    void managedItemListDestructionFreesEachOnce() {
        Fixture f;
        {
            ManagedItemList list(f.creator(), f.disposer());
            for (int i = 0; i < 3; ++i)
                list.addNew();
            list.removeAt(0);
        }
        QCOMPARE(f.freed, (QList<int>{0, 2, 1}));
    }

    void managedItemListCreatorThatRaisesAddsNothing() {
        Fixture f;
        ManagedItemList list([]() -> void* { throw Exception(QStringLiteral("нет памяти")); },
                             f.disposer());
        QVERIFY_THROWS_EXCEPTION(Exception, list.addNew());
        QCOMPARE(list.count(), 0);
    }

    void xyPairListKeepsDistinctPairsInOrder() {
        XYPairList list;
        list.add(1, 2);
        list.add(2, 1);
        list.add(1, 2);
        QCOMPARE(list.count(), 2);
        int x = 0, y = 0;
        list.get(0, x, y);
        QCOMPARE(QPoint(x, y), QPoint(1, 2));
        list.get(1, x, y);
        QCOMPARE(QPoint(x, y), QPoint(2, 1));

        // A deleted pair may come back, at the end.
        list.removeAt(0);
        list.add(1, 2);
        QCOMPARE(list.count(), 2);
        list.get(1, x, y);
        QCOMPARE(QPoint(x, y), QPoint(1, 2));
    }
};

QTEST_MAIN(TestLists)
#include "test_lists.moc"
