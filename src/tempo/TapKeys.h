// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Which key presses are tempo taps: only deliberate ones.
#include <QString>
#include <Qt>

namespace pulsivar {

// Space, Enter and every key that types a character, alone or with Shift. Never a modifier on
// its own, a shortcut (Ctrl, Alt or Meta held), a function or navigation key, or a repeat.
bool isTapKey(int key, Qt::KeyboardModifiers modifiers, const QString &text, bool autoRepeat);

} // namespace pulsivar
