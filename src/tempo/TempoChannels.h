// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two tempo channels: which one is selected, each one's exact tempo, the tap run, and the
// rules that turn a requested tempo into the one the beat runs at.
#include "tempo/TapRun.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

class TempoChannels {
public:
    // The third choice of the selector: left and right audio for channels 1 and 2; no channel
    // takes a tempo then.
    static constexpr int leftRightAudio = 3;

    int selected() const { return selected_; }
    void select(int index) { selected_ = index; }
    // Channel 1 or 2, the only choices that take a tempo.
    bool channelSelected() const { return selected_ == 1 || selected_ == 2; }

    // A channel's exact tempo in BPM (as typed, tapped or detected); 0 when it has none.
    double tempo(int channel) const;
    void setTempo(int channel, double bpm);
    double selectedTempo() const { return tempo(selected_); }
    // Its beat interval in whole ms, the unit the nudge and the other whole-millisecond rules
    // work in (128 BPM: 469); 0 when it has no tempo.
    int32_t intervalMs(int channel) const;

    // The tempo a start runs at, limited to the tempo range; a tap's interval joins the tap
    // run, whose average sets it; anything else begins a new run.
    double settle(double bpm);
    double settleTap(double intervalMs);

    // One sixth of the selected channel's interval, halves to even; nullopt without a tempo.
    std::optional<int32_t> calculatedNudgeMs() const;

    TapRun taps;

private:
    int selected_ = 1;
    double tempos_[2] = {0, 0};
};

// A tempo as a channel box shows it: whole tempos as they are ("128"), others with two
// decimals ("127.99").
QString channelTempoText(double bpm);
// The exact tempo of a beat interval in ms.
inline double tempoOfIntervalMs(double intervalMs) { return intervalMs > 0 ? 60000.0 / intervalMs : 0.0; }

} // namespace pulsivar
