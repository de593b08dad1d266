// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/UndockedLayout.h"

namespace pulsivar {

QSize undockedBoxSize(const QSize &windowTwips, const QSize &boxTwips)
{
    QSize box = boxTwips;
    if (windowTwips.width() > undockedMinWidth)
        box.setWidth(windowTwips.width() - undockedWidthMargin);
    if (windowTwips.height() > undockedMinHeight)
        box.setHeight(windowTwips.height() - undockedHeightMargin);
    return box;
}

} // namespace pulsivar
