// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the audio fault tests share: the PulseAudio server of the test run, null sinks that come
// and go, a recorder on a sink's monitor, and the main window with its beat counted.
#include "app/frmMetronome.h"
#include "settings/ProgramState.h"
#include "metronome/BeatIndicator.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

namespace pulsivar::test {

// Runs pactl; its output, trimmed. ok tells whether it succeeded.
QString pactl(const QStringList &arguments, bool *ok = nullptr);

// Brings up the server and the pulsivar_null sink (start-pulseaudio.sh); false when PulseAudio is
// not available here. Pins the server's cookie, so a test that moves XDG_CONFIG_HOME still
// reaches the server.
bool startPulseAudio();

// The module index of the null sink with this name; empty when it is not loaded.
QString sinkModule(const QString &sink);
// Loads a null sink (its description is its name); the module index, empty on failure.
QString loadNullSink(const QString &sink);
bool unloadModule(const QString &module);

// Records a source (s16le stereo 44.1 kHz) in the background.
class MonitorRecorder {
public:
    bool start(const QString &source);
    void stop();
    ~MonitorRecorder() { stop(); }
    // Left-channel clicks heard since start: onsets above a tenth of full scale, 150 ms apart.
    int clicks() const;
    // For a failure message: what was recorded.
    QString describe() const;
    QByteArray raw;

private:
    QProcess process;
};

// Plays a steady 440 Hz tone (left) into a sink for the given time.
class TonePlayer {
public:
    bool start(const QString &sink, double seconds);
    ~TonePlayer();

private:
    QTemporaryDir folder;
    QProcess player;
};

// The main window, loaded, with every tick of its beat timer counted after the window's own
// tick handler ran.
struct BeatingWindow {
    BeatingWindow();
    BeatIndicator *indicator() { return window.findChild<BeatIndicator *>(QStringLiteral("txtBeatColor")); }

    frmMetronome window;
    int ticks = 0;
    // Ticks after which the indicator showed another beat number than before.
    int indicatorChanges = 0;

private:
    QString lastBeatText;
};

} // namespace pulsivar::test
