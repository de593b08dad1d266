// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SkinLabel.h"

namespace pulsivar {

SkinLabel::SkinLabel(QWidget *parent) : QLabel(parent) {}

SkinLabel::SkinLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {}

} // namespace pulsivar
