// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The skin engine all windows share: keeps the style sheet loaded last and puts it on windows.
#include <QColor>
#include <QString>
#include <cstdint>

class QWidget;

namespace pulsivar {

// The file an older way of loading skins left beside the executable; it must never stay there.
inline constexpr const char *temporarySkinFileName = "CurrentSkin.skn";
// Dynamic property that marks a window carrying a skin; sheets paint its background through it.
inline constexpr const char *skinWindowProperty = "skinWindow";
// Dynamic property for widgets whose colours the program sets itself (colour swatches).
inline constexpr const char *skinExemptProperty = "skinExempt";

class Skin {
public:
    // Reads the skin from the program's resources, in memory. A skin that cannot be read
    // leaves the one loaded before in place.
    bool LoadSkin(int skinId);
    // Gives one window the loaded skin; with none loaded yet the window keeps its look.
    bool ApplySkin(QWidget *window) const;

    bool hasSkin() const { return loadedId != 0; }
    int loadedSkinId() const { return loadedId; }
    const QString &styleSheet() const { return sheet; }
    // Forgets the loaded skin, as at program start.
    void clear();

private:
    int loadedId = 0;
    QString sheet;
};

// The one instance that serves every window.
Skin &oSkin();

// Loads the skin skinId and applies it to the form; nothing is reported, and a skin that
// cannot be loaded leaves the form with the skin loaded before.
void ApplyProgramSkin(QWidget *form, int16_t skinId);

// Colours a widget that skins leave alone (beat indicator, detection beat light, swatches).
// Its own style sheet outranks any window's skin, so the colour survives every skin change.
void paintSkinExempt(QWidget *widget, const QColor &background, const QColor &text);

} // namespace pulsivar
