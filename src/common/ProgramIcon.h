// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's own icon, at every size the program carries.
#include <QIcon>

namespace pulsivar {

inline QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/ICON/%1").arg(size), QSize(size, size));
    return icon;
}

} // namespace pulsivar
