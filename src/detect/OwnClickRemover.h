// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Takes the program's own click out of a capture of the output it plays on (the output's
// monitor), so the detector hears the music alone. Each click the output placed is looked for
// near where the two clocks put it (the audio is held back only while a click may still arrive), at the lag that
// matches its samples best, and subtracted at the level it is found at; a click that is not found (another output, a
// quiet mix) is left be. The lag found is the measured loop from a click's time on the output clock to the capture.
#include "detect/CaptureClock.h"

#include <QtGlobal>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace pulsivar {

class OwnClickRemover {
public:
    static constexpr int rate = 44100;
    // Until a click has been found, one is looked for from a little before where the two clocks
    // put it to well after (the loop through the output and back only delays it)...
    static constexpr int wideSearchBefore = rate / 50;
    static constexpr int wideSearchAfter = rate / 4;
    // ...and from then on this close to the lag measured.
    static constexpr int narrowSearchFrames = rate / 100;
    // A click is matched on its first frames and subtracted up to this length.
    static constexpr int matchFrames = 512;
    static constexpr int maxClickFrames = rate / 4;
    // Captured audio is held back only while a click may still arrive in it, and never longer
    // than this.
    static constexpr int maxHoldFrames = wideSearchBefore + wideSearchAfter + maxClickFrames + rate / 20;
    // How alike the capture and the click must be (normalised correlation of their edges) to
    // count as found.
    static constexpr double minimumMatch = 0.5;
    // This many clicks missed in a row make the search wide again.
    static constexpr int missesBeforeWideSearch = 4;

    struct Click {
        // When it sounds on the output's line, on the monotonic clock.
        double seconds = 0;
        std::shared_ptr<const std::vector<float>> samples;
    };

    void reset();
    void addClick(Click click);
    // A captured block (interleaved stereo) whose last frame was there by readySeconds; appends
    // to out the frames now released, clean, oldest first.
    void push(const std::vector<qint16> &block, double readySeconds, std::vector<qint16> &out);
    // Frames released so far.
    qint64 releasedFrames() const { return bufferStart_; }
    const CaptureClock &clock() const { return clock_; }
    // Seconds from a click's time on the output clock to its time on the capture line, once found.
    std::optional<double> loopSeconds() const;
    int removedCount() const { return removed_; }

private:
    // Handles the clicks whose search window is wholly captured; false when the first must wait.
    void removeReadyClicks();
    bool removeClick(const Click &click, double predicted);
    // Where the capture is searched for a click whose frame the clocks predict.
    qint64 searchFrom(double predicted) const;
    qint64 searchTo(double predicted) const;
    double predictedFrame(const Click &click) const;
    void release(qint64 upTo, std::vector<qint16> &out);

    CaptureClock clock_;
    std::deque<Click> clicks_;
    // Held frames, from frame bufferStart_ on.
    std::vector<float> left_;
    std::vector<float> right_;
    qint64 bufferStart_ = 0;
    std::optional<double> lagFrames_;
    int misses_ = 0;
    int removed_ = 0;
};

} // namespace pulsivar
