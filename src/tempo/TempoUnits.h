// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Tempo and beat interval, each from the other, rounded as every tempo rule rounds: halves to even.
#include <cstdint>

namespace pulsivar {

// BPM from a beat interval in ms; an interval of 0 counts as 1.
int32_t IntervalToBPM(int32_t intervalMs);
// Beat interval in ms for a whole BPM; a BPM of 0 becomes 1 (the caller's too).
int32_t BPMToInterval(int16_t &BPM);

} // namespace pulsivar
