// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Laying out fixed dialogs from their twips rectangles, in the classic dialog face.
#include "common/Twips.h"

#include <QFont>
#include <QRect>

namespace pulsivar {

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// 8-point "MS Sans Serif"; where it is missing, faces of the same width keep captions in their slots.
inline QFont classicDialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setPointSize(8);
    return font;
}

} // namespace pulsivar
