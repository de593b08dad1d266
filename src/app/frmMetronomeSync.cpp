// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's Ableton Link and MIDI clock out: the menu entries, the peers label, and the
// tempo and beat shared both ways.
#include "app/frmMetronome.h"

#include "common/Clock.h"
#include "common/Steps.h"
#include "metronome/BeatSound.h"
#include "metronome/BeatSoundEngine.h"
#include "platform/SkinLabel.h"
#include "settings/ProgramState.h"
#include "sync/LinkSession.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <cmath>

namespace pulsivar {

namespace {

// A beat already within this of the session's is left where it is: reading the session's
// clock is not finer than that, and a click moved by less is not heard moved.
constexpr double alignToleranceSeconds = 0.0003;

} // namespace

void frmMetronome::startSync()
{
    const ProgramSettings &s = settings();
    if (s.AbletonLinkEnabled) {
        mnuOptions_AbletonLink->setChecked(true);
        switchLink(true);
    }
    if (!s.MidiClockOutPort.isEmpty())
        mnuOptions_MidiClockOut_Click(s.MidiClockOutPort);
}

void frmMetronome::mnuOptions_AbletonLink_Click()
{
    switchLink(mnuOptions_AbletonLink->isChecked());
}

void frmMetronome::switchLink(bool on)
{
    settings().AbletonLinkEnabled = on;
    if (!on) {
        linkTimer->stop();
        linkSession.reset();
        sknlblLinkStatus->clear();
        return;
    }
    if (linkSession)
        return;
    // Joining a session takes its tempo and leaves it as it is; alone, the session starts at ours.
    const double ours = grid.isRunning() ? 60.0 / grid.periodSeconds() : 120.0;
    runStep([this, ours] { linkSession = std::make_unique<LinkSession>(ours); });
    if (!linkSession) {
        mnuOptions_AbletonLink->setChecked(false);
        settings().AbletonLinkEnabled = false;
        return;
    }
    linkTempoSeen = ours;
    showLinkPeers();
    linkTimer->start();
}

void frmMetronome::showLinkPeers()
{
    if (!linkSession)
        return;
    const auto peers = int64_t(linkSession->peers());
    QString text = QString::fromLatin1(linkPeersFormat(peers));
    if (text.contains(QLatin1String("%1")))
        text = text.arg(peers);
    sknlblLinkStatus->setText(text);
}

void frmMetronome::linkTimer_Timer()
{
    if (!linkSession)
        return;
    showLinkPeers();
    const double sessionTempo = linkSession->tempo();
    const double now = clock().monotonicSeconds();
    if (std::abs(sessionTempo - linkTempoSeen) > 1e-6) {
        linkTempoSeen = sessionTempo;
        // A peer's tempo is the selected channel's, as if it had been typed.
        const double ours = grid.isRunning() ? 60.0 / grid.periodSeconds() : 0.0;
        if (std::abs(sessionTempo - ours) > 1e-6 && tempoChannels.channelSelected()) {
            tempoFromLink = true;
            startAtTempo(sessionTempo, resyncStartBeat());
            tempoFromLink = false;
            return;
        }
    }
    if (grid.isRunning()) {
        alignToLink(now);
        publishBeat();
    }
}

void frmMetronome::shareTempo(double bpm, double nowSeconds)
{
    if (!linkSession)
        return;
    if (!tempoFromLink) {
        linkSession->commitTempo(bpm, nowSeconds);
        linkTempoSeen = linkSession->tempo();
    }
    alignToLink(nowSeconds);
}

void frmMetronome::alignToLink(double nowSeconds)
{
    if (!linkSession || !grid.isRunning())
        return;
    const LinkPhase phase = linkSession->phase(std::max<int>(1, settings().BeatsPerMeasure));
    // The first beat a change may still move, as it will be heard: the output's drift and its
    // latency are added, so the sound, not the schedule, lands on the session's beat.
    const int64_t index = grid.firstChangeable(nowSeconds);
    double heard = grid.beat(index).dueSeconds;
    runStep(
        [&heard] { heard += beatSoundEngine().soundingOffsetSeconds() + beatSoundEngine().outputLatencySeconds(); });
    const double offset = phase.offsetToNearestBeat(heard);
    if (std::abs(offset) > alignToleranceSeconds)
        grid.shift(nowSeconds, offset);
    // The count follows the session's: beat 1 of our measure is beat 1 of its quantum.
    const int number = phase.numberAt(heard + offset);
    grid.renumber(nowSeconds, number);
}

void frmMetronome::listMidiClockPorts()
{
    mnuOptions_MidiClockOut->clear();
    const QString chosen = settings().MidiClockOutPort;
    auto *group = new QActionGroup(mnuOptions_MidiClockOut);
    const auto entry = [&](const QString &caption, const QString &port, const QString &objectName) {
        QAction *a = mnuOptions_MidiClockOut->addAction(caption);
        a->setObjectName(objectName);
        a->setCheckable(true);
        a->setChecked(port == chosen);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, port] { mnuOptions_MidiClockOut_Click(port); });
    };
    entry(QStringLiteral("Off"), QString(), QStringLiteral("mnuMidiClockOut_Off"));
    QStringList ports;
    runStep([&ports] { ports = MidiClockOut::ports(); });
    if (!chosen.isEmpty() && !ports.contains(chosen))
        ports << chosen;
    for (int i = 0; i < ports.size(); ++i)
        entry(ports[i], ports[i], QStringLiteral("mnuMidiClockOut_%1").arg(i + 1));
}

void frmMetronome::mnuOptions_MidiClockOut_Click(const QString &port)
{
    settings().MidiClockOutPort = port;
    bool opened = false;
    runStep([this, &port, &opened] {
        midiClockOut.setSchedule(grid.schedule());
        opened = midiClockOut.select(port);
    });
    if (!opened)
        statusBar()->showMessage(
            QStringLiteral("MIDI clock out: \"%1\" would not open (is a JACK server or the ALSA sequencer there?).")
                .arg(port),
            15000);
}

} // namespace pulsivar
