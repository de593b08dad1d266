// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Keeps the click on the music's beat: each reading of where the detector heard the last beat
// gives the click's phase error; a smoothed error moves the beats a few milliseconds at a time,
// so neither a noisy reading nor a wrong one makes the click jump.
namespace pulsivar {

class MusicSync {
public:
    // The most one correction moves the beats.
    static constexpr double maxStepSeconds = 0.003;
    // How much of a new reading's error joins the smoothed one.
    static constexpr double readingWeight = 0.3;
    // A reading this far off the smoothed error (a missed or doubled beat) is left out...
    static constexpr double outlierSeconds = 0.06;
    // ...unless this many in a row agree that the music really moved.
    static constexpr int outliersToFollow = 5;
    // The detector's confidence below which its beats are not followed (shown as 30%).
    static constexpr double minimumConfidence = 10.0;

    // Forgets the error followed so far (a new sync, the music stopped).
    void reset();
    // The phase error of the grid's beat at gridSeconds against a detected beat at beatSeconds,
    // wrapped to the nearest beat: positive when the click is late.
    static double phaseError(double gridSeconds, double beatSeconds, double periodSeconds);
    // A reading: returns how far to move the beats now (negative: earlier), at most maxStepSeconds.
    double correction(double gridSeconds, double beatSeconds, double periodSeconds);
    double smoothedError() const { return error_; }

private:
    double error_ = 0;
    bool started_ = false;
    int outliers_ = 0;
};

} // namespace pulsivar
