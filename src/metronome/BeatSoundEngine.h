// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What plays the beat clicks: the real audio output, or a recording fake in tests.
#include "metronome/BeatSchedule.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace pulsivar {

// A beat's click as the output placed it: when it sounds on the monotonic clock (its beat's due
// time plus the output's drift, soundingOffsetSeconds()), and its samples (mono, at the output
// rate), lent for as long as the reader keeps them.
struct PlacedClick {
    double seconds = 0;
    std::shared_ptr<const std::vector<float>> samples;
};

class BeatSoundEngine {
public:
    virtual ~BeatSoundEngine() = default;

    // One sound outside the beat (a preview), started so that it sounds at dueMonotonicSeconds
    // (clock().monotonicSeconds() time); a sound that starts cuts off the one still playing.
    // Returns at once; false when the file cannot be decoded or there is no output.
    virtual bool play(const QString &path, double dueMonotonicSeconds) = 0;
    // Silences the sound playing and drops the ones not started yet.
    virtual void stop() = 0;
    // Opens the output ahead of the first click, so that click is already on time.
    virtual void prepare() {}

    // The beats to play from now on. The output places each one itself, at its own sample, so a
    // busy GUI thread neither delays nor drops a click.
    virtual void setSchedule(const BeatSchedule &schedule) { (void)schedule; }
    // The two sounds of the beats; false when one of them cannot be decoded (it then stays silent).
    virtual bool setBeatSounds(const QString &plainPath, const QString &accentPath)
    {
        (void)plainPath;
        (void)accentPath;
        return true;
    }
    // Once a version of a file: why a sound file given here does not play (too large, not a wave).
    virtual QString takeSoundProblem() { return {}; }
    // How much later than the schedule says the beats really sound, in seconds: the output's
    // sample clock runs a little off the monotonic one. 0 while not known.
    virtual double soundingOffsetSeconds() { return 0.0; }
    // How long after a beat's due time its click is heard: the output's own latency.
    virtual double outputLatencySeconds() { return 0.0; }

    // The beats' clicks placed since the last call, oldest first, so a capture of the output can
    // take them out again.
    virtual std::vector<PlacedClick> takePlacedClicks() { return {}; }

    // The outputs the clicks can play on, by name.
    virtual QStringList outputDevices() { return {}; }
    // The output to play on from now on; an empty name is the system's default.
    virtual void setOutputDevice(const QString &name) { (void)name; }
    // Once after the output asked for could not be opened and the default one took its place.
    virtual bool takeFallbackNotice() { return false; }
};

} // namespace pulsivar
