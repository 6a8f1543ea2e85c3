#include "reports/grid_axis.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

// The same axis as plain sizes, each question answered by walking it from the start.
struct Walk {
    std::vector<int> sizes;
    int fixed = 0;
    int first = 0;
    int fixedLine = 0;
    int line = 0;

    int count() const { return int(sizes.size()); }
    int lineAfter(int i) const { return i < fixed ? fixedLine : line; }
    int extentOf(int i) const { return sizes[size_t(i)] + lineAfter(i); }

    qint64 distance(int from, int to) const {
        qint64 pixels = 0;
        for (int i = from; i < to; ++i)
            pixels += extentOf(i);
        return pixels;
    }

    // Index, start and size of what shows inside extent; nothing for what takes no pixels.
    std::vector<GridAxis::Span> visible(int extent) const {
        std::vector<GridAxis::Span> spans;
        int start = 0;
        auto walk = [&](int from, int to) {
            for (int i = from; i < to && start < extent; ++i) {
                if (extentOf(i) > 0)
                    spans.push_back(GridAxis::Span{i, start, sizes[size_t(i)]});
                start += extentOf(i);
            }
        };
        walk(0, fixed);
        walk(first, count());
        return spans;
    }

    // Also for one that takes no pixels: it has its place all the same.
    int startOf(int index, int extent) const {
        if (index < 0 || index >= count() || (index >= fixed && index < first))
            return -1;
        const qint64 start =
            index < fixed ? distance(0, index) : distance(0, fixed) + distance(first, index);
        return start < extent ? int(start) : -1;
    }

    int indexAt(int pixel, int extent) const {
        for (const GridAxis::Span& span : visible(extent))
            if (pixel >= span.start && pixel < span.start + extentOf(span.index))
                return span.index;
        return -1;
    }

    // The smallest first after the fixed ones from which the last one still shows whole.
    int lastFirst(int extent) const {
        const int last = count() - 1;
        for (int f = fixed; f < last; ++f)
            if (distance(0, fixed) + distance(f, last + 1) <= extent)
                return f;
        return last;
    }

    // The smallest first, not before the current one, from which index shows whole.
    int firstShowing(int index, int extent) const {
        if (index < fixed)
            return first;
        if (index < first)
            return index;
        for (int f = first; f < index; ++f)
            if (distance(0, fixed) + distance(f, index + 1) <= extent)
                return f;
        return index;
    }
};

QString describe(const std::vector<GridAxis::Span>& spans) {
    QStringList parts;
    for (const GridAxis::Span& span : spans)
        parts << QStringLiteral("%1@%2+%3").arg(span.index).arg(span.start).arg(span.size);
    return parts.join(u' ');
}

} // namespace

class TestGridAxis : public QObject {
    Q_OBJECT
private slots:
    // Axes of every shape, with columns of no width and no lines among them: each answer is the
    // one a walk along the axis gives.
    void lookupsAgreeWithAWalk() {
        QRandomGenerator random(20240315);
        const int sizes[] = {0, 0, 0, 1, 5, 20, 64};
        for (int round = 0; round < 400; ++round) {
            Walk walk;
            const int count = 1 + int(random.bounded(30));
            for (int i = 0; i < count; ++i)
                walk.sizes.push_back(sizes[random.bounded(int(std::size(sizes)))]);
            walk.fixed = int(random.bounded(count));
            walk.first = walk.fixed + int(random.bounded(count - walk.fixed));
            walk.fixedLine = int(random.bounded(2));
            walk.line = int(random.bounded(2));

            GridAxis axis(GridAxis::kMaxSize);
            axis.setCount(count);
            axis.setFixed(walk.fixed);
            axis.setLines(walk.fixedLine, walk.line);
            for (int i = 0; i < count; ++i)
                axis.setSize(i, walk.sizes[size_t(i)]);
            axis.setFirst(walk.first);
            QCOMPARE(axis.first(), walk.first);

            for (const int extent : {0, 1, 30, 100, 400}) {
                const QByteArray where = QStringLiteral("round %1, extent %2: %3")
                                             .arg(round)
                                             .arg(extent)
                                             .arg(describe(walk.visible(1000)))
                                             .toUtf8();
                QVERIFY2(describe(axis.visible(extent)) == describe(walk.visible(extent)), where);
                QCOMPARE(axis.lastFirst(extent), walk.lastFirst(extent));
                for (int i = 0; i < count; ++i) {
                    QVERIFY2(axis.startOf(i, extent) == walk.startOf(i, extent), where);
                    QVERIFY2(axis.firstShowing(i, extent) == walk.firstShowing(i, extent), where);
                    QCOMPARE(axis.distance(i, count), walk.distance(i, count));
                }
                for (int pixel = -1; pixel < extent + 70; ++pixel)
                    QVERIFY2(axis.indexAt(pixel, extent) == walk.indexAt(pixel, extent), where);
            }
        }
    }

    // A million of the widest columns: their pixels add up beyond what an int holds, sizes are
    // kept inside 0 .. kMaxSize, and the last ones show at the end.
    void millionWidestColumns() {
        constexpr int kCount = 1000000;
        GridAxis axis(GridAxis::kMaxSize);
        axis.setCount(kCount);
        axis.setFixed(0);
        axis.setLines(0, 1);
        QCOMPARE(axis.distance(0, kCount), qint64(kCount) * (GridAxis::kMaxSize + 1));
        axis.setSize(3, 2147483647);
        QCOMPARE(axis.size(3), GridAxis::kMaxSize);
        axis.setSize(4, -20);
        QCOMPARE(axis.size(4), 0);
        QCOMPARE(axis.distance(3, 6),
                 qint64(GridAxis::kMaxSize + 1 + 0 + 1 + GridAxis::kMaxSize + 1));
        axis.setDefaultSize(99999);
        QCOMPARE(axis.defaultSize(), GridAxis::kMaxSize);

        QCOMPARE(axis.lastFirst(12000), kCount - 2);
        axis.setFirst(axis.lastFirst(12000));
        const std::vector<GridAxis::Span> shown = axis.visible(12000);
        QCOMPARE(describe(shown), QStringLiteral("999998@0+5000 999999@5001+5000"));
        QCOMPARE(axis.indexAt(7000, 12000), kCount - 1);
        QCOMPARE(axis.firstShowing(10, 12000), 10);
    }
};

QTEST_MAIN(TestGridAxis)
#include "test_grid_axis.moc"
