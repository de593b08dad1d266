// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The thirteen skins the program carries: their resource ids and menu captions.
#include <QList>
#include <QString>
#include <cstdint>

namespace pulsivar {

inline constexpr int16_t firstSkinId = 101;
inline constexpr int16_t lastSkinId = 113;

struct SkinEntry {
    int16_t id;
    const char *caption;
};

// In menu order, which is id order.
const QList<SkinEntry> &skinCatalog();
bool isKnownSkin(int skinId);
// The caption of a known skin, empty for any other id.
QString skinCaption(int skinId);
// Where the skin's style sheet lives among the program's resources.
QString skinResourcePath(int skinId);

} // namespace pulsivar
