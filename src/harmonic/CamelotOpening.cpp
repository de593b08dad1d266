// SPDX-License-Identifier: GPL-2.0-or-later
#include "CamelotOpening.h"

#include "common/WaitCursor.h"

namespace pulsivar {

SingleWindow<frmCamelot> &camelotWindow()
{
    static SingleWindow<frmCamelot> window;
    return window;
}

void ShowCamelot()
{
    bringToFront(frmCamelotInstance());
}

void mnuTools_HarmonicMixing_Click()
{
    const WaitCursor hourglass;
    try {
        ShowCamelot();
    } catch (...) {
        // The main window stays usable even if the window cannot be opened.
    }
}

} // namespace pulsivar
