#pragma once
// The arithmetic of one capture block: how many frames are new, and what they hold.
#include "detect/BeatDetectorEngine.h"

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
};

// Passes the left sample of every interleaved stereo frame to the detector, in order, and
// measures both channels' peaks. A null detector or a 0 handle only measures.
BlockPeaks analyseBlock(const std::vector<qint16> &interleaved, BeatDetectorEngine *detector,
                        int32_t handle);

// The device number at the start of a device list entry ("3 - Line In" is 3); 0 without one.
int deviceIndexOfEntry(const QString &entry);

} // namespace pulsivar
