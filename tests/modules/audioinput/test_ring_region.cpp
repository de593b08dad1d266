// SPDX-License-Identifier: GPL-2.0-or-later
// The looping buffer's region arithmetic and the handle table, without any audio device.
#include "HandleTable.h"
#include "RingRegion.h"

#include <QtTest>

using pulsivar::modules::HandleTable;
using pulsivar::audioinput::ringAdvance;
using pulsivar::audioinput::splitRing;

class TestRingRegion : public QObject {
    Q_OBJECT

private slots:
    void splitsARangeAtTheEndOfTheBuffer_data()
    {
        QTest::addColumn<quint32>("size");
        QTest::addColumn<quint32>("offset");
        QTest::addColumn<quint32>("length");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<quint32>("length1");
        QTest::addColumn<quint32>("length2");

        const quint32 ring = 352800;
        QTest::newRow("inside") << ring << 4000u << 1600u << true << 1600u << 0u;
        QTest::newRow("ends exactly at the end") << ring << ring - 1600 << 1600u << true << 1600u << 0u;
        QTest::newRow("wraps") << ring << ring - 400 << 1600u << true << 400u << 1200u;
        QTest::newRow("wraps from the last frame") << ring << ring - 4 << 8u << true << 4u << 4u;
        QTest::newRow("whole buffer from the start") << ring << 0u << ring << true << ring << 0u;
        QTest::newRow("whole buffer from the middle") << ring << 1000u << ring << true << ring - 1000 << 1000u;
        QTest::newRow("empty range") << ring << 12u << 0u << true << 0u << 0u;
        QTest::newRow("offset at the end") << ring << ring << 4u << false << 0u << 0u;
        QTest::newRow("offset past the end") << ring << ring + 8 << 4u << false << 0u << 0u;
        QTest::newRow("longer than the buffer") << ring << 0u << ring + 4 << false << 0u << 0u;
        QTest::newRow("no buffer") << 0u << 0u << 0u << false << 0u << 0u;
        QTest::newRow("largest numbers") << 0xFFFFFFFFu << 0xFFFFFFFEu << 0xFFFFFFFFu << true
                                         << 1u << 0xFFFFFFFEu;
    }

    void splitsARangeAtTheEndOfTheBuffer()
    {
        QFETCH(quint32, size);
        QFETCH(quint32, offset);
        QFETCH(quint32, length);
        QFETCH(bool, valid);
        QFETCH(quint32, length1);
        QFETCH(quint32, length2);
        const auto region = splitRing(size, offset, length);
        QCOMPARE(region.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(region->offset1, offset);
        QCOMPARE(region->length1, length1);
        QCOMPARE(region->length2, length2);
        QCOMPARE(quint64{region->length1} + region->length2, quint64{length});
    }

    void advancesAroundTheLoop_data()
    {
        QTest::addColumn<quint32>("size");
        QTest::addColumn<quint32>("position");
        QTest::addColumn<quint32>("count");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("within") << 88200u << 100u << 512u << 612u;
        QTest::newRow("to the end") << 88200u << 87688u << 512u << 0u;
        QTest::newRow("past the end") << 88200u << 88000u << 512u << 312u;
        QTest::newRow("no overflow near the top") << 0xFFFFFFFFu << 0xFFFFFFF0u << 0x20u << 0x11u;
        QTest::newRow("no buffer") << 0u << 5u << 5u << 0u;
    }

    void advancesAroundTheLoop()
    {
        QFETCH(quint32, size);
        QFETCH(quint32, position);
        QFETCH(quint32, count);
        QFETCH(quint32, expected);
        QCOMPARE(ringAdvance(size, position, count), expected);
    }

    void handlesAreSmallPositiveAndOnlyValidWhileHeld()
    {
        HandleTable<int> table(0);
        const qint32 first = table.add(std::make_shared<int>(1));
        const qint32 second = table.add(std::make_shared<int>(2));
        QVERIFY(first > 0);
        QVERIFY(second > 0);
        QVERIFY(first != second);
        QCOMPARE(*table.find(first), 1);
        QCOMPARE(*table.find(second), 2);

        QVERIFY(table.remove(first));
        QVERIFY(!table.find(first));
        QVERIFY(!table.remove(first));
        // The freed slot is reused, but the old handle must not reach the new object.
        const qint32 third = table.add(std::make_shared<int>(3));
        QVERIFY(third != first);
        QVERIFY(!table.find(first));
        QCOMPARE(*table.find(third), 3);
    }

    void rejectsHandlesItNeverGave_data()
    {
        QTest::addColumn<qint32>("handle");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("lowest number") << std::numeric_limits<qint32>::min();
        QTest::newRow("slot out of range") << 1000;
        QTest::newRow("right slot, wrong generation") << ((7 << 10) | 1);
        QTest::newRow("other kind") << ((1 << 30) | (1 << 10) | 1);
    }

    void rejectsHandlesItNeverGave()
    {
        QFETCH(qint32, handle);
        HandleTable<int> table(0);
        const qint32 held = table.add(std::make_shared<int>(1));
        QCOMPARE(held, (1 << 10) | 1);
        QVERIFY(!table.find(handle));
        QVERIFY(!table.remove(handle));
        QVERIFY(table.find(held));
    }

    void aFullTableRefusesWithoutHandingOutZeroOrDuplicates()
    {
        HandleTable<int> table(1);
        QSet<qint32> seen;
        for (std::size_t i = 0; i < HandleTable<int>::maxCapacity; ++i) {
            const qint32 handle = table.add(std::make_shared<int>(0));
            QVERIFY(handle > 0);
            QVERIFY(!seen.contains(handle));
            seen.insert(handle);
        }
        QCOMPARE(table.add(std::make_shared<int>(0)), 0);
    }
};

QTEST_APPLESS_MAIN(TestRingRegion)
#include "test_ring_region.moc"
