// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one instance of a secondary window: made the first time it is asked for, found while it
// lives, closed for good and freed at exit.
#include <QPointer>
#include <QWidget>

namespace pulsivar {

template <typename Window>
class SingleWindow {
public:
    Window &instance()
    {
        if (!window_)
            window_ = new Window;
        return *window_;
    }
    // nullptr until first asked for, and again once it is gone.
    Window *ifLoaded() const { return window_.data(); }
    // Closes it for good (a kept window only really closes while the process shuts down) and frees it.
    void closeForGood()
    {
        if (!window_)
            return;
        window_->close();
        delete window_.data();
    }

private:
    QPointer<Window> window_;
};

// Shows a window asked for again: back from the task bar if minimized, in front, with the focus.
inline void bringToFront(QWidget &window)
{
    if (window.windowState() & Qt::WindowMinimized)
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace pulsivar
