// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Keeps windows where the user can see and reach them: on a screen, and no larger than one.
#include <QList>
#include <QRect>

namespace pulsivar {

// The window's frame moved, and shrunk where it must be, into the available area of the screen
// it overlaps most (or, off every screen, the nearest one). Without screens it is left as it is.
QRect fitOnScreens(const QRect &frame, const QList<QRect> &screens);

// The available areas of the screens that exist now.
QList<QRect> availableScreenAreas();

// From now on every window of the program is fitted on the screens as it is shown, whatever
// placed it there: stored placements, the -geometry option, the window system.
void keepWindowsOnScreens();

} // namespace pulsivar
