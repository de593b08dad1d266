// SPDX-License-Identifier: GPL-2.0-or-later
#include "sync/LinkSession.h"

#include "metronome/SoundEngineSdl.h"

#include <ableton/Link.hpp>

#include <chrono>

namespace pulsivar {

namespace {

// Link keeps time on a clock of its own (the raw monotonic one on Linux): times are carried over
// by the two clocks' difference read now, so the slewing between them never adds up.
std::chrono::microseconds linkTimeOf(const ableton::Link &link, double steady)
{
    const double now = steadySeconds();
    const auto linkNow = link.clock().micros();
    return linkNow + std::chrono::microseconds(std::llround((steady - now) * 1e6));
}

} // namespace

struct LinkSession::Impl {
    explicit Impl(double bpm) : link(bpm) { }
    ableton::Link link;
};

LinkSession::LinkSession(double bpm) : impl_(std::make_unique<Impl>(bpm))
{
    impl_->link.enable(true);
}

LinkSession::~LinkSession()
{
    impl_->link.enable(false);
}

std::size_t LinkSession::peers() const
{
    return impl_->link.numPeers();
}

double LinkSession::tempo() const
{
    return impl_->link.captureAppSessionState().tempo();
}

void LinkSession::commitTempo(double bpm, double nowSeconds)
{
    auto state = impl_->link.captureAppSessionState();
    state.setTempo(bpm, linkTimeOf(impl_->link, nowSeconds));
    impl_->link.commitAppSessionState(state);
}

LinkPhase LinkSession::phase(double quantum) const
{
    const auto state = impl_->link.captureAppSessionState();
    const double now = steadySeconds();
    const double beat = state.beatAtTime(linkTimeOf(impl_->link, now), quantum);
    return LinkPhase(state.tempo(), now, beat, quantum);
}

} // namespace pulsivar
