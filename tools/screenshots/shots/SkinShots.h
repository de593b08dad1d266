// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pictures of windows in the program's skins: one window in one skin, or one window in all of them.
#include <QWidget>
#include <functional>
#include <memory>

namespace pulsivar::screenshots {

// Puts skin skinId on the window the way the program does when the window loads.
void applySkin(QWidget *window, int skinId);

// One picture of the window that make builds, in every skin, captioned with each skin's name.
std::unique_ptr<QWidget> skinContactSheet(const std::function<std::unique_ptr<QWidget>()> &make, int columns = 4);

} // namespace pulsivar::screenshots
