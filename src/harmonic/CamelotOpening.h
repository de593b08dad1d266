// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one harmonic key mixing window of the program: opened from the Tools menu, closed for real.
#include "frmCamelot.h"
#include "platform/SingleWindow.h"

namespace pulsivar {

// The window: loaded when first asked for, closed for real by the user and at program exit.
SingleWindow<frmCamelot> &camelotWindow();
// nullptr when it is not loaded (so nothing is created by asking).
inline frmCamelot *frmCamelotIfLoaded() { return camelotWindow().ifLoaded(); }
inline frmCamelot &frmCamelotInstance() { return camelotWindow().instance(); }

// Shows the window modelessly; an open one is only brought forward and keeps its selection.
void ShowCamelot();

// Tools, "Harmonic Key Mixing": the hourglass while the window opens.
void mnuTools_HarmonicMixing_Click();

} // namespace pulsivar
