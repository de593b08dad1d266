#pragma once
// Notices when the input falls silent after sound, and when that silence has lasted too long.
#include <QDateTime>
#include <cstdint>

namespace pulsivar {

class SilenceTracker {
public:
    // A block whose peak is at most this is quiet.
    static constexpr int32_t quietPeak = 100;
    // More consecutive quiet blocks than this make silence.
    static constexpr int16_t quietBlocksBeforeSilence = 50;

    // farFuture stands for "no silence": it lies so far ahead that no time-out is pending.
    void reset(const QDateTime &farFuture);
    // One block's peak, taken at now.
    void addBlock(int32_t peak, const QDateTime &now);
    // Whether more whole seconds than timeoutSeconds have begun since the silence began; never
    // for the values that mean no time-out.
    bool timedOut(const QDateTime &now, int32_t timeoutSeconds) const;

    bool mbInputHasSound = false;
    QDateTime mdtSilenceStart;

private:
    QDateTime mdtFarFutureDate;
    int16_t quietBlocks = 0;
};

// Second boundaries passed from one time to the other; negative when to lies before from.
qint64 secondBoundariesBetween(const QDateTime &from, const QDateTime &to);

} // namespace pulsivar
