// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the undocked display's beat box follows the window's size (all sizes in twips).
#include <QSize>

namespace pulsivar {

// Width margin and the width above which the box follows the window.
inline constexpr int undockedWidthMargin = 260;
inline constexpr int undockedMinWidth = 500;
// Height margin (room for the check boxes) and the height above which the box follows.
inline constexpr int undockedHeightMargin = 980;
inline constexpr int undockedMinHeight = 1050;

// The box's new size for a window of the given outer size; a dimension at or below its bound
// keeps the box's current value.
QSize undockedBoxSize(const QSize &windowTwips, const QSize &boxTwips);

} // namespace pulsivar
