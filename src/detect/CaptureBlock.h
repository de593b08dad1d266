// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The arithmetic of one capture block: how many frames are new, and what they hold.
#include "detect/BeatDetectorEngine.h"

#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace pulsivar {

// Frames recorded since the last read, in a looping buffer of bufferLength frames; a position
// that went round the end of the buffer counts on from its start.
quint32 framesSince(quint32 previousPosition, quint32 position, quint32 bufferLength);

struct BlockPeaks {
    // The highest positive sample of each channel, 0 to 32767.
    int32_t left = 0;
    int32_t right = 0;
    // Sums over the block of L^2 + R^2 and of (L - R)^2: how much the two sides differ.
    double power = 0;
    double differencePower = 0;
};

// Passes the left sample of every interleaved stereo frame to the detector, in order, and the
// right one to a second detector when rightHandle is not 0 (two decks, one a side); measures both
// channels' peaks. A null detector or a 0 handle only measures.
BlockPeaks analyseBlock(const std::vector<qint16> &interleaved, BeatDetectorEngine *detector, int32_t handle,
                        int32_t rightHandle = 0);

// Whether both sides of the input carry the same signal (a mono source, or one deck on both
// sides), judged over the sound heard so far; a stereo mix differs by far more than this.
class SameSignalCheck {
public:
    // The sides count as one when what differs is below this share of the signal's power.
    static constexpr double sameShare = 1e-3;
    // Judged only after this much sound (in summed power: about a second of a quiet signal).
    static constexpr double enoughPower = 44100.0 * 2 * 300.0 * 300.0;
    void reset()
    {
        power_ = 0;
        difference_ = 0;
    }
    void add(const BlockPeaks &block)
    {
        power_ += block.power;
        difference_ += block.differencePower;
    }
    bool judged() const { return power_ >= enoughPower; }
    bool sameOnBothSides() const { return judged() && difference_ <= sameShare * power_; }

private:
    double power_ = 0;
    double difference_ = 0;
};

// The device number at the start of a device list entry ("3 - Line In" is 3); 0 without one.
int deviceIndexOfEntry(const QString &entry);

// The entry of a fresh device list that is the device a stale entry chose: the same name, else
// the same name but for the " (2)" the audio system adds to a device that went and came back
// (either way round); -1 when it is not there.
int findDeviceEntry(const QStringList &entries, const QString &chosenEntry);

} // namespace pulsivar
