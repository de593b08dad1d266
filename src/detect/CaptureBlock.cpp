// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/CaptureBlock.h"

#include <QRegularExpression>

#include <QString>

namespace pulsivar {

quint32 framesSince(quint32 previousPosition, quint32 position, quint32 bufferLength)
{
    if (position >= previousPosition)
        return position - previousPosition;
    return position + bufferLength - previousPosition;
}

BlockPeaks analyseBlock(const std::vector<qint16> &interleaved, BeatDetectorEngine *detector, int32_t handle,
                        int32_t rightHandle)
{
    BlockPeaks peaks;
    const bool feed = detector && handle != 0;
    const bool feedRight = detector && rightHandle != 0;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
        const qint16 left = interleaved[i];
        const qint16 right = interleaved[i + 1];
        if (feed)
            detector->addSample(handle, float(left));
        if (feedRight)
            detector->addSample(rightHandle, float(right));
        const double l = left;
        const double r = right;
        peaks.power += l * l + r * r;
        peaks.differencePower += (l - r) * (l - r);
        if (left > peaks.left)
            peaks.left = left;
        if (right > peaks.right)
            peaks.right = right;
    }
    return peaks;
}

namespace {
QString deviceNameOfEntry(const QString &entry)
{
    const qsizetype dash = entry.indexOf(QLatin1String(" - "));
    return dash < 0 ? entry : entry.mid(dash + 3);
}

// "Monitor of Speakers (2)" is "Monitor of Speakers".
QString withoutRepeatNumber(const QString &name)
{
    static const QRegularExpression repeat(QStringLiteral(" \\(\\d+\\)$"));
    QString base = name;
    base.remove(repeat);
    return base;
}
} // namespace

int findDeviceEntry(const QStringList &entries, const QString &chosenEntry)
{
    const QString chosen = deviceNameOfEntry(chosenEntry);
    for (int i = 0; i < entries.size(); ++i)
        if (deviceNameOfEntry(entries[i]) == chosen)
            return i;
    const QString base = withoutRepeatNumber(chosen);
    for (int i = 0; i < entries.size(); ++i)
        if (withoutRepeatNumber(deviceNameOfEntry(entries[i])) == base)
            return i;
    return -1;
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
