// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the harmonic window borrows from the rest of the program (skins, placement, topmost);
// the application fills these in, and each one left empty is simply not done.
#include <QWidget>
#include <functional>

namespace pulsivar {

struct HarmonicServices {
    using WindowStep = std::function<void(QWidget *)>;
    WindowStep applyProgramSkin;    // the current skin onto the window
    WindowStep restoreFormPosition; // the stored placement, at load
    WindowStep saveFormPosition;    // the placement, at every close
    WindowStep setAlwaysOnTop;      // defaults to the window's own stays-on-top flag
    WindowStep clearAlwaysOnTop;
};

void setHarmonicServices(HarmonicServices services);
const HarmonicServices &harmonicServices();

// Runs one step on a window; a step that is missing or throws is skipped.
void runWindowStep(const HarmonicServices::WindowStep &step, QWidget *window);

} // namespace pulsivar
