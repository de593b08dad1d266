// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Asks for real-time scheduling of the calling thread (the audio callback's), so a busy machine
// does not starve it into underruns: every underrun moves all later clicks.
namespace pulsivar {

// True when the thread now runs at a real-time priority. Without the right to it (no rtkit grant,
// no RLIMIT_RTPRIO) the thread stays as it was.
bool raiseToRealtime();

} // namespace pulsivar
