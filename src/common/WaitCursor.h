// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The hourglass pointer while a command works, put back however the command ends.
#include <QApplication>

namespace pulsivar {

class WaitCursor {
public:
    WaitCursor() : active(qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr)
    {
        // Only a widget application has a pointer to change.
        if (active)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (active)
            QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool active;
};

} // namespace pulsivar
