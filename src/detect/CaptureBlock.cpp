#include "detect/CaptureBlock.h"

#include <QString>

namespace pulsivar {

quint32 framesSince(quint32 previousPosition, quint32 position, quint32 bufferLength)
{
    if (position >= previousPosition)
        return position - previousPosition;
    return position + bufferLength - previousPosition;
}

BlockPeaks analyseBlock(const std::vector<qint16> &interleaved, BeatDetectorEngine *detector,
                        int32_t handle)
{
    BlockPeaks peaks;
    const bool feed = detector && handle != 0;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
        const qint16 left = interleaved[i];
        const qint16 right = interleaved[i + 1];
        if (feed)
            detector->addSample(handle, float(left));
        if (left > peaks.left)
            peaks.left = left;
        if (right > peaks.right)
            peaks.right = right;
    }
    return peaks;
}

int deviceIndexOfEntry(const QString &entry)
{
    const QString text = entry.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits) >= u'0' && text.at(digits) <= u'9' && digits < 9)
        ++digits;
    return digits == 0 ? 0 : text.left(digits).toInt();
}

} // namespace pulsivar
