#include "CamelotOpening.h"

#include <QApplication>
#include <QPointer>

namespace pulsivar {

namespace {

QPointer<frmCamelot> &loaded()
{
    static QPointer<frmCamelot> window;
    return window;
}

// Puts the normal pointer back however the opening ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

frmCamelot *frmCamelotIfLoaded()
{
    return loaded().data();
}

frmCamelot &frmCamelotInstance()
{
    if (!loaded())
        loaded() = new frmCamelot;
    return *loaded();
}

void ShowCamelot()
{
    frmCamelot &window = frmCamelotInstance();
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
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
