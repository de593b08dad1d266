#pragma once
// The one harmonic key mixing window of the program: opened from the Tools menu, closed for real.
#include "frmCamelot.h"

namespace pulsivar {

// The open window, or nullptr when it is not loaded (so nothing is created by asking).
frmCamelot *frmCamelotIfLoaded();

// The window, loading it first if it is not loaded.
frmCamelot &frmCamelotInstance();

// Shows the window modelessly; an open one is only brought forward and keeps its selection.
void ShowCamelot();

// Tools, "Harmonic Key Mixing": the hourglass while the window opens.
void mnuTools_HarmonicMixing_Click();

} // namespace pulsivar
