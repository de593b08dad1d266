// SPDX-License-Identifier: GPL-2.0-or-later
#include "Shot.h"

namespace pulsivar::screenshots {

std::vector<Shot> &allShots()
{
    static std::vector<Shot> shots;
    return shots;
}

ShotRegistration::ShotRegistration(QString name, std::function<std::unique_ptr<QWidget>()> make)
{
    allShots().push_back({std::move(name), std::move(make)});
}

} // namespace pulsivar::screenshots
