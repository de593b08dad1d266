// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Keeps a window above all others or returns it to the normal stacking order; not remembered.
class QAction;
class QWidget;

namespace pulsivar {

void SetAlwaysOnTop(QWidget *form);
void ClearAlwaysOnTop(QWidget *form);
bool isAlwaysOnTop(const QWidget *form);

// The main window's Options entry: flips the window and keeps the entry's check mark with it.
// Decided from the window, since a checkable action has already flipped its mark when it fires.
void toggleAlwaysOnTop(QWidget *form, QAction *mnuOptions_AlwaysOnTop);

} // namespace pulsivar
