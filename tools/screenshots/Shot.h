// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A named screenshot: a function that builds a window in the state worth showing.
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace pulsivar::screenshots {

struct Shot {
    QString name; // also the file name, without ".png"
    std::function<std::unique_ptr<QWidget>()> make;
};

std::vector<Shot> &allShots();

// Lets each shot file add itself: `static const ShotRegistration reg{"name", [] { ... }};`
struct ShotRegistration {
    ShotRegistration(QString name, std::function<std::unique_ptr<QWidget>()> make);
};

} // namespace pulsivar::screenshots
