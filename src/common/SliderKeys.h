// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Up raises a slider and Down lowers it, whatever way the style turns the arrow keys.
class QKeyEvent;
class QSlider;

namespace pulsivar {

// True when the key was Up or Down and has moved the slider one step.
bool stepSliderByUpDownKey(QSlider *slider, const QKeyEvent *key);

} // namespace pulsivar
