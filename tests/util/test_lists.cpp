#include "util/uDispList.h"
#include "util/uExceptions.h"
#include "util/uNewDispList.h"
#include "util/uXYList.h"

#include <QPoint>
#include <QTest>
#include <cstring>

namespace {

// Items are ints numbered in order of making; the log records which were freed, in order.
struct Fixture {
    int made = 0;
    QList<int> freed;
    TNewDisposeList::TCreator creator() {
        return [this] { return static_cast<void*>(new int(made++)); };
    }
    TNewDisposeList::TDisposer disposer() {
        return [this](void* item) {
            freed << *static_cast<int*>(item);
            delete static_cast<int*>(item);
        };
    }
};

int valueAt(const TNewDisposeList& list, int index) {
    return *static_cast<int*>(list.Items(index));
}

} // namespace

class TestLists : public QObject {
    Q_OBJECT
private slots:
    void disposeListKeepsBlocksOfItsSize() {
        TDisposeList list(12);
        QCOMPARE(list.AddNew(), 0);
        QCOMPARE(list.AddNew(), 1);
        QCOMPARE(list.AddNew(), 2);
        for (int i = 0; i < list.Count(); ++i)
            std::memset(list.Items(i), 'a' + i, list.ItemSize());
        list.Delete(1);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(char(list.Items(0)[11]), 'a');
        QCOMPARE(char(list.Items(1)[11]), 'c');
        list.Clear();
        QCOMPARE(list.Count(), 0);
        QCOMPARE(list.AddNew(), 0);
    }

    void badIndexRaisesListError_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("negative") << -1;
        QTest::newRow("count") << 2;
    }
    void badIndexRaisesListError() {
        QFETCH(int, index);
        TDisposeList blocks(4);
        blocks.AddNew();
        blocks.AddNew();
        QVERIFY_THROWS_EXCEPTION(EListError, blocks.Delete(index));
        QVERIFY_THROWS_EXCEPTION(EListError, blocks.Items(index));
        QCOMPARE(blocks.Count(), 2);

        Fixture f;
        TNewDisposeList items(f.creator(), f.disposer());
        items.AddNew();
        items.AddNew();
        QVERIFY_THROWS_EXCEPTION(EListError, items.Delete(index));
        QVERIFY_THROWS_EXCEPTION(EListError, items.Items(index));
        QCOMPARE(items.Count(), 2);
        QVERIFY(f.freed.isEmpty());

        TXYList pairs;
        pairs.Add(1, 1);
        pairs.Add(2, 2);
        int x = 0, y = 0;
        QVERIFY_THROWS_EXCEPTION(EListError, pairs.Get(index, x, y));
        QVERIFY_THROWS_EXCEPTION(EListError, pairs.Delete(index));
        QCOMPARE(pairs.GetCount(), 2);
    }

    void newDisposeListDeleteFreesThatItem() {
        Fixture f;
        TNewDisposeList list(f.creator(), f.disposer());
        QCOMPARE(list.AddNew(), 0);
        QCOMPARE(list.AddNew(), 1);
        QCOMPARE(list.AddNew(), 2);
        list.Delete(1);
        QCOMPARE(f.freed, QList<int>{1});
        QCOMPARE(list.Count(), 2);
        QCOMPARE(valueAt(list, 0), 0);
        QCOMPARE(valueAt(list, 1), 2);
    }

    void newDisposeListClearFreesLastFirst() {
        Fixture f;
        TNewDisposeList list(f.creator(), f.disposer());
        for (int i = 0; i < 4; ++i)
            list.AddNew();
        list.Clear();
        QCOMPARE(f.freed, (QList<int>{3, 2, 1, 0}));
        QCOMPARE(list.Count(), 0);
    }

    void newDisposeListDestructionFreesEachOnce() {
        Fixture f;
        {
            TNewDisposeList list(f.creator(), f.disposer());
            for (int i = 0; i < 3; ++i)
                list.AddNew();
            list.Delete(0);
        }
        QCOMPARE(f.freed, (QList<int>{0, 2, 1}));
    }

    void newDisposeListCreatorThatRaisesAddsNothing() {
        Fixture f;
        TNewDisposeList list([]() -> void* { throw Exception(QStringLiteral("нет памяти")); },
                             f.disposer());
        QVERIFY_THROWS_EXCEPTION(Exception, list.AddNew());
        QCOMPARE(list.Count(), 0);
    }

    void xyListKeepsDistinctPairsInOrder() {
        TXYList list;
        list.Add(1, 2);
        list.Add(2, 1);
        list.Add(1, 2);
        QCOMPARE(list.GetCount(), 2);
        int x = 0, y = 0;
        list.Get(0, x, y);
        QCOMPARE(QPoint(x, y), QPoint(1, 2));
        list.Get(1, x, y);
        QCOMPARE(QPoint(x, y), QPoint(2, 1));

        // A deleted pair may come back, at the end.
        list.Delete(0);
        list.Add(1, 2);
        QCOMPARE(list.GetCount(), 2);
        list.Get(1, x, y);
        QCOMPARE(QPoint(x, y), QPoint(1, 2));
    }
};

QTEST_MAIN(TestLists)
#include "test_lists.moc"
