// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Chooses the metrical level a listener taps among tempos related to the strongest periodicity
// (half, two thirds, three quarters, the same, four thirds, three halves, double), from how the
// onsets, the kick, snare and hat bands and the beat phase support each, and a tempo preference.

#include "Autocorrelation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace pulsivar::beatdetect {

struct LevelEvidence {
    enum Feature {
        Comb,          // full-band autocorrelation at the period and its multiples
        HalfBeat,      // a pulse at half the period: beats are usually divided in two
        ThirdBeat,     // a pulse at a third of the period: triplets, shuffles, compound metre
        LowComb,       // the same comb on the low band (kick, bass)
        MidComb,       // mid band (snare, chords)
        HighComb,      // high band (hats)
        Contrast,      // onsets on the best beat phase against the rest
        Octave,        // log2(bpm / 120)
        OctaveSquared, // with Octave, a preference for tempos near the centre
        Finder,        // log of the period finder's own score: comb salience times preference
        Accent,        // the best phase against the phase half a period later: beats stand out
        Count
    };
    std::array<double, Count> values{};
};

class MetricalLevel {
public:
    static constexpr int kMaxCandidates = 7;

    struct Candidate {
        double bpm = 0.0;
        LevelEvidence evidence;
        double score = 0.0;
        double probability = 0.0;   // share of the candidates' softmax
    };

    MetricalLevel(double frameRate, double minBpm, double maxBpm);

    // Scores the levels related to `bpm`; the most likely first. Returns how many there are.
    // finderScore(bpm) is the period finder's score of a tempo (salience times preference).
    template <typename FinderScore>
    int choose(double bpm, const Autocorrelation& all, const std::array<Autocorrelation, 3>& bands,
               double favouredBpm, FinderScore&& finderScore)
    {
        count_ = 0;
        for (double b : relatedTempos(bpm, all)) {
            if (b <= 0)
                continue;
            Candidate& c = candidates_[count_++];
            c.bpm = b;
            c.evidence = evidence(b, all, bands);
            c.evidence.values[LevelEvidence::Finder] = std::log(std::max(1e-3, finderScore(b)));
        }
        rank(favouredBpm);
        return count_;
    }
    const Candidate& candidate(int i) const { return candidates_[i]; }
    int count() const { return count_; }

    LevelEvidence evidence(double bpm, const Autocorrelation& all,
                           const std::array<Autocorrelation, 3>& bands) const;
    static double score(const LevelEvidence& evidence);

private:
    std::array<double, kMaxCandidates> relatedTempos(double bpm, const Autocorrelation& all) const;
    void rank(double favouredBpm);
    double peakNear(double bpm, const Autocorrelation& all) const;
    // Folds the recent onsets at the period: how far the best phase and the one half a period
    // later stand above the rest, in units of the signal's RMS.
    std::pair<double, double> contrast(double period, const Autocorrelation& all) const;

    double frameRate_;
    double minBpm_;
    double maxBpm_;
    std::array<Candidate, kMaxCandidates> candidates_{};
    int count_ = 0;
};

} // namespace pulsivar::beatdetect
