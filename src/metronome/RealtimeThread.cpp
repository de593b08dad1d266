// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/RealtimeThread.h"

#if defined(__linux__) || defined(__APPLE__)
#include <pthread.h>
#include <sched.h>
#endif

namespace pulsivar {

namespace {
// Below the usual audio server's (PulseAudio and PipeWire ask for 5 and above 20): the client
// must never keep the server from running.
constexpr int requestedPriority = 4;
} // namespace

bool raiseToRealtime()
{
#if defined(__linux__) || defined(__APPLE__)
    sched_param param{};
    param.sched_priority = requestedPriority;
    return pthread_setschedparam(pthread_self(), SCHED_RR, &param) == 0;
#else
    // Elsewhere SDL's own request for a time-critical audio thread stands.
    return false;
#endif
}

} // namespace pulsivar
