// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Colours are kept as the stored 0x00BBGGRR integers; widgets want QColor.
#include <QColor>
#include <cstdint>

namespace pulsivar {

inline QColor colorFromColorRef(int32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline int32_t colorRefFromColor(const QColor &color)
{
    return int32_t(color.red() | (color.green() << 8) | (color.blue() << 16));
}

// Black or white, whichever reads better on the given background.
inline QColor readableTextOn(const QColor &background)
{
    const double luminance = 0.2126 * background.redF() + 0.7152 * background.greenF() + 0.0722 * background.blueF();
    return luminance > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace pulsivar
