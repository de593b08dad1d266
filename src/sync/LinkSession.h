// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One Ableton Link session member, made only while Link is switched on (so with it off there is
// no Link thread and no socket). The GUI thread reads and commits through the app session state.
#include "sync/LinkPhase.h"

#include <cstddef>
#include <memory>

namespace pulsivar {

class LinkSession {
public:
    // Joins (or starts) a session; a session already running keeps its tempo.
    explicit LinkSession(double bpm);
    ~LinkSession();
    LinkSession(const LinkSession &) = delete;
    LinkSession &operator=(const LinkSession &) = delete;

    std::size_t peers() const;
    double tempo() const;
    // A tempo of ours for the session, from nowSeconds on (monotonic): the beat at that moment
    // stays where it is.
    void commitTempo(double bpm, double nowSeconds);
    // The session's beats as they stand, on the monotonic clock.
    LinkPhase phase(double quantum) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pulsivar
