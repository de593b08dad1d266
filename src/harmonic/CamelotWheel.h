// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Camelot wheel picture: where each key's space lies, and the drawing made from those shapes.
#include "MusicKeyTable.h"
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

namespace pulsivar::camelot {

// Pixels; the click areas over the picture were laid out for this size.
inline constexpr int wheelSize = 300;
inline constexpr double centreX = 150.0;
inline constexpr double centreY = 150.0;
inline constexpr double outerRadius = 149.0; // edge of the major ring
inline constexpr double ringBoundary = 106.0; // between the minor and the major ring
inline constexpr double discRadius = 52.0;   // the centre disc

// The drawn space of one key: a 30 degree slice of its ring around its clock position.
QPainterPath wheelSpacePath(WheelRing ring, int clockPosition);

// Where the space's code and key name are centred.
QPointF wheelSpaceTextCentre(WheelRing ring, int clockPosition);

QColor wheelSpaceColour(WheelRing ring, int clockPosition);

// The whole picture, transparent outside the wheel.
QImage renderCamelotWheel();

} // namespace pulsivar::camelot
