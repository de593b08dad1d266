// SPDX-License-Identifier: GPL-2.0-or-later
// A Link session's beats on the monotonic clock: how far a beat of ours is off the nearest one,
// and which beat of the quantum that one is.
#include "sync/LinkPhase.h"
#include <QtTest>

using namespace pulsivar;

class LinkPhaseTest : public QObject {
    Q_OBJECT
private slots:
    void offsetAndNumber_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("knownBeat");
        QTest::addColumn<double>("heard");
        QTest::addColumn<double>("offset");
        QTest::addColumn<int>("number");
        // At 120 BPM beat b falls at 10 + (b - knownBeat) / 2 s.
        QTest::newRow("on the beat") << 120.0 << 0.0 << 10.5 << 0.0 << 2;
        QTest::newRow("late by 10 ms") << 120.0 << 0.0 << 11.01 << -0.01 << 3;
        QTest::newRow("early by 10 ms") << 120.0 << 0.0 << 11.49 << 0.01 << 4;
        QTest::newRow("next measure") << 120.0 << 0.0 << 12.0 << 0.0 << 1;
        // Beat -6 is beat 3 of the quantum (-8 is beat 1).
        QTest::newRow("negative beats") << 120.0 << -7.0 << 10.5 << 0.0 << 3;
        QTest::newRow("half way goes on to the next") << 60.0 << 0.25 << 10.25 << 0.5 << 2;
    }
    void offsetAndNumber()
    {
        QFETCH(double, bpm);
        QFETCH(double, knownBeat);
        QFETCH(double, heard);
        QFETCH(double, offset);
        QFETCH(int, number);
        const LinkPhase phase(bpm, 10.0, knownBeat, 4);
        QVERIFY2(std::abs(phase.offsetToNearestBeat(heard) - offset) < 1e-9,
                 qPrintable(QString::number(phase.offsetToNearestBeat(heard))));
        QCOMPARE(phase.numberAt(heard), number);
    }

    void peersText()
    {
        QCOMPARE(QString::fromLatin1(linkPeersFormat(0)), QStringLiteral("Link: no peers"));
        QCOMPARE(QString::fromLatin1(linkPeersFormat(1)), QStringLiteral("Link: 1 peer"));
        QCOMPARE(QString::fromLatin1(linkPeersFormat(2)).arg(2), QStringLiteral("Link: 2 peers"));
    }
};

QTEST_GUILESS_MAIN(LinkPhaseTest)
#include "test_LinkPhase.moc"
