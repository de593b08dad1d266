// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The silence time-out setting: seconds 5 to 120 on the slider, its top position meaning none.
#include <QString>
#include <cstdint>
#include <optional>

namespace pulsivar {

inline constexpr int firstTimeoutPosition = 5;
// The slider's last position stands for "No Timeout".
inline constexpr int noTimeoutPosition = 121;
// How "No Timeout" is stored.
inline constexpr int16_t noTimeoutSetting = 32767;

// Every stored value past the last second count means no time-out; the label says so too.
inline bool isNoTimeout(int timeout) { return timeout >= noTimeoutPosition; }

// The setting a slider position stands for.
inline int16_t timeoutForPosition(int position)
{
    return isNoTimeout(position) ? noTimeoutSetting : int16_t(position);
}

// "6 Seconds", or "No Timeout".
inline QString timeoutLabelText(int timeout)
{
    return isNoTimeout(timeout) ? QStringLiteral("No Timeout") : QStringLiteral("%1 Seconds").arg(timeout);
}

// Where the slider shows a stored setting; nullopt for one below its range, which leaves it be.
inline std::optional<int> positionForTimeout(int timeout)
{
    if (timeout < firstTimeoutPosition)
        return std::nullopt;
    return isNoTimeout(timeout) ? noTimeoutPosition : timeout;
}

} // namespace pulsivar
