// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/TempoChannels.h"

#include "common/NumberText.h"
#include "common/TempoLimits.h"

#include <algorithm>
#include <cmath>

namespace pulsivar {

double TempoChannels::tempo(int channel) const
{
    return channel == 1 || channel == 2 ? tempos_[channel - 1] : 0.0;
}

void TempoChannels::setTempo(int channel, double bpm)
{
    if (channel == 1 || channel == 2)
        tempos_[channel - 1] = bpm > 0 ? bpm : 0.0;
}

int32_t TempoChannels::intervalMs(int channel) const
{
    const double bpm = tempo(channel);
    return bpm > 0 ? roundToInt32(60000.0 / bpm).value_or(0) : 0;
}

double TempoChannels::settle(double bpm)
{
    taps.reset();
    return std::clamp(bpm, double(minTempoBpm), double(maxTempoBpm));
}

double TempoChannels::settleTap(double intervalMs)
{
    const double limited = std::clamp(intervalMs, double(minBeatIntervalMs), double(maxBeatIntervalMs));
    return tempoOfIntervalMs(taps.add(limited));
}

std::optional<int32_t> TempoChannels::calculatedNudgeMs() const
{
    const int32_t interval = intervalMs(selected_);
    if (interval <= 0)
        return std::nullopt;
    return roundToInt32(interval / 6.0);
}

QString channelTempoText(double bpm)
{
    const double whole = std::round(bpm);
    if (std::fabs(bpm - whole) < 0.005)
        return QString::number(qint64(whole));
    return QString::number(bpm, 'f', 2);
}

} // namespace pulsivar
