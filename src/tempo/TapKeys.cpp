// SPDX-License-Identifier: GPL-2.0-or-later
#include "tempo/TapKeys.h"

namespace pulsivar {

bool isTapKey(int key, Qt::KeyboardModifiers modifiers, const QString &text, bool autoRepeat)
{
    if (autoRepeat)
        return false;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
        return true;
    // Keys that type nothing (Shift, F5, arrows, Home) have no text; control characters are not typed.
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace pulsivar
