// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Windows reopen where the user left them: position (and size, for sizable ones) in the store, in twips.
class QWidget;

namespace pulsivar {

// A window counts as sizable unless its minimum and maximum sizes are equal (setFixedSize).
bool isSizableForm(const QWidget *form);

// At load: the stored position (negative values become 0) and, for a sizable window, a stored
// size larger than the design size, both fitted on the screens that exist. Values are stored
// under the window's objectName.
void RestoreFormPosition(QWidget *form);
// At close: position and, for a sizable window, size. A minimized or maximized window saves
// only a negative top or left, as 0.
void SaveFormPosition(QWidget *form);

} // namespace pulsivar
