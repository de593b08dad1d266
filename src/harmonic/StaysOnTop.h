// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Keeps a top-level window above all others, or returns it to the normal stacking order.
#include <QWidget>

namespace pulsivar {

void setStaysOnTop(QWidget *window, bool onTop);

} // namespace pulsivar
