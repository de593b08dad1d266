// SPDX-License-Identifier: GPL-2.0-or-later
// Pulsivar in a Link session with LinkHut, a real peer on a JACK server of its own (dummy
// driver), in a private network: joining takes the session's tempo, a tempo typed here reaches
// LinkHut, LinkHut's reaches the selected channel, and the beats fall on the session's beats.
#include "MessageRecorder.h"
#include "TestEnvironment.h"
#include "app/frmMetronome.h"
#include "metronome/BeatSound.h"
#include "metronome/BeatSoundEngine.h"
#include "settings/ProgramState.h"
#include "sync/LinkSession.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {

// LinkHut's status line: enabled | peers | quantum | start stop sync | tempo | beats | metro.
struct LinkHutStatus {
    bool enabled = false;
    int peers = -1;
    double tempo = 0;
};

class LinkHut {
public:
    LinkHut()
    {
        const QString server = QStringLiteral("pulsivar_link_%1").arg(QCoreApplication::applicationPid());
        qputenv("JACK_DEFAULT_SERVER", server.toUtf8());
        jackd.setProcessChannelMode(QProcess::MergedChannels);
        jackd.start(QStringLiteral("jackd"),
                    {"--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "256"});
        hut.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~LinkHut()
    {
        if (hut.state() != QProcess::NotRunning) {
            hut.write("q");
            if (!hut.waitForFinished(2000))
                hut.kill();
        }
        jackd.terminate();
        if (!jackd.waitForFinished(3000))
            jackd.kill();
        jackd.waitForFinished(1000);
    }
    bool start()
    {
        if (!jackd.waitForStarted(3000))
            return false;
        QTest::qWait(1500);
        hut.start(QStringLiteral("LinkHut"), {});
        if (!hut.waitForStarted(3000))
            return false;
        QTest::qWait(300);
        hut.write("a");
        return true;
    }
    void key(const char *keys) { hut.write(keys); }
    LinkHutStatus status()
    {
        output += QString::fromLocal8Bit(hut.readAll());
        const QStringList lines = output.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
        output = lines.isEmpty() ? QString() : lines.last();
        static const QRegularExpression line(
            QStringLiteral(R"(^(yes|no)\s*\|\s*(\d+)\s*\|\s*\d+\s*\|[^|]*\|\s*([\d.]+))"));
        for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
            const auto match = line.match(*it);
            if (match.hasMatch())
                return {match.captured(1) == "yes", match.captured(2).toInt(), match.captured(3).toDouble()};
        }
        return {};
    }

private:
    QProcess jackd;
    QProcess hut;
    QString output;
};

} // namespace

class LinkWithLinkHutTest : public QObject {
    Q_OBJECT
private slots:
    void sessionWithLinkHut()
    {
        if (QStandardPaths::findExecutable("LinkHut").isEmpty() || QStandardPaths::findExecutable("jackd").isEmpty())
            QSKIP("LinkHut or jackd is not installed (tools/install-deps.sh test)");
        LinkHut hut;
        QVERIFY(hut.start());
        QTRY_VERIFY_WITH_TIMEOUT(hut.status().enabled, 10000);
        QCOMPARE(hut.status().tempo, 120.0);
        // Link lets the older of two sessions win only when it is more than half a second older.
        QTest::qWait(1000);

        TestEnvironment env;
        MessageRecorder messages;
        settings() = ProgramSettings{};
        settings().PlayBeatSound = false;
        frmMetronome window;
        window.Form_Load();
        window.show();
        auto *box = window.findChild<QLineEdit *>("txtBPM_1");
        auto *typing = window.findChild<QLineEdit *>("txtManualTempo");
        auto *status = window.findChild<QLabel *>("sknlblLinkStatus");
        const auto type = [&](const QString &bpm) {
            typing->setText(bpm);
            window.findChild<QPushButton *>("cmdUseManualTempo")->click();
        };
        type("100");
        QCOMPARE(box->text(), QString("100"));

        // Joining takes the session's tempo and leaves the session's alone.
        window.findChild<QAction *>("mnuOptions_AbletonLink")->trigger();
        QVERIFY(window.link() != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString("Link: 1 peer"), 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(box->text() == "120",
                                  qPrintable(QString("box %1, session %2, LinkHut %3")
                                                 .arg(box->text())
                                                 .arg(window.link()->tempo())
                                                 .arg(hut.status().tempo)),
                                  5000);
        QCOMPARE(hut.status().tempo, 120.0);
        QCOMPARE(window.link()->tempo(), 120.0);
        QCOMPARE(settings().AbletonLinkEnabled, true);

        // The beats fall on the session's, as a third peer sees them.
        LinkSession probe(120);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString("Link: 2 peers"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(probe.peers() == 2, 5000);
        QTest::qWait(500);
        const int seconds = qEnvironmentVariableIntValue("PULSIVAR_LINK_PHASE_SECONDS");
        QElapsedTimer elapsed;
        elapsed.start();
        double worst = 0, sum = 0;
        int beats = 0, numbers = 0;
        while (elapsed.elapsed() < std::max(3, seconds) * 1000) {
            const BeatGrid &grid = window.beatGrid();
            const BeatGrid::Beat next = grid.next();
            const LinkPhase phase = probe.phase(4);
            // The beat as it is heard: the output's drift and latency after its due time.
            const double heard = next.dueSeconds + beatSoundEngine().soundingOffsetSeconds()
                + beatSoundEngine().outputLatencySeconds();
            const double offset = phase.offsetToNearestBeat(heard);
            worst = std::max(worst, std::abs(offset));
            sum += std::abs(offset);
            numbers += phase.numberAt(heard) == next.number;
            ++beats;
            QTest::qWait(int(grid.periodSeconds() * 1000));
        }
        qInfo("link phase offset against the session: mean %.3f ms, max %.3f ms over %d beats; "
              "%d of them on the session's beat of the measure",
              sum / beats * 1000, worst * 1000, beats, numbers);
        QVERIFY2(worst <= 0.003, qPrintable(QString::number(worst * 1000) + " ms"));
        QCOMPARE(numbers, beats);

        // A tempo typed here reaches LinkHut; LinkHut's (one BPM up) reaches the channel.
        type("128");
        QTRY_COMPARE_WITH_TIMEOUT(hut.status().tempo, 128.0, 5000);
        hut.key("e");
        QTRY_COMPARE_WITH_TIMEOUT(box->text(), QString("129"), 5000);
        QCOMPARE(typing->text(), QString("129"));
        QTRY_VERIFY2_WITH_TIMEOUT(std::abs(probe.tempo() - 129.0) < 1e-3,
                                  qPrintable(QString::number(probe.tempo(), 'f', 6)), 3000);

        // MIDI clock out on the same JACK server: the port of its own appears, and goes with "Off".
        const auto jackPorts = [] {
            QProcess lsp;
            lsp.start(QStringLiteral("jack_lsp"), {});
            lsp.waitForFinished(5000);
            return QString::fromLocal8Bit(lsp.readAllStandardOutput());
        };
        window.listMidiClockPorts();
        window.findChild<QAction *>("mnuMidiClockOut_1")->trigger();
        QCOMPARE(settings().MidiClockOutPort, QString("Pulsivar clock"));
        QVERIFY(window.midiClock().isOpen());
        QVERIFY(jackPorts().contains("Pulsivar:clock"));
        window.listMidiClockPorts();
        window.findChild<QAction *>("mnuMidiClockOut_Off")->trigger();
        QVERIFY(!window.midiClock().isOpen());
        QVERIFY(!jackPorts().contains("Pulsivar:clock"));
        QCOMPARE(settings().MidiClockOutPort, QString());

        // Off: no session, no label.
        window.findChild<QAction *>("mnuOptions_AbletonLink")->trigger();
        QVERIFY(window.link() == nullptr);
        QCOMPARE(status->text(), QString());
    }
};

QTEST_MAIN(LinkWithLinkHutTest)
#include "e2e_link_linkhut.moc"
