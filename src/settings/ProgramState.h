// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's global settings record: every setting with its default, read at start, saved at exit.
#include "common/ProcessEnd.h"
#include "common/TempoLimits.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace pulsivar {

class clsRegistry;

// Colours are 24-bit RGB held as 0x00BBGGRR, as they are stored.
struct ProgramSettings {
    int16_t ProgramSkin = 101;
    int32_t BeatColor1 = 255;       // red
    int32_t BeatColor2 = 16711680;  // blue
    int32_t BeatColor3 = 65280;     // green
    int32_t BeatColor4 = 65535;     // yellow
    int32_t BeatColor5 = 16711935;  // magenta
    int32_t BeatColor6 = 33023;     // orange
    int32_t BeatColor7 = 12632256;  // light grey
    int16_t BeatsPerMeasure = 4;
    QString AccentBeatConfig = QStringLiteral("10000");
    bool PlayBeatSound = true;
    int16_t MSNUDGEVALUE = defaultNudgeMs;
    int32_t AutoBPMColor = 255;
    int16_t AutoBPMInputTimeout = 6;
    // The output the clicks play on, by name; empty for the system's default output.
    QString ClickOutputDevice;
    // Whether the tempo and beat are shared through Ableton Link.
    bool AbletonLinkEnabled = false;
    // Where MIDI clock goes: empty for off, "Pulsivar clock" for a port of its own, else the port.
    QString MidiClockOutPort;

    // BeatColor1..BeatColor7 by beat number; nullptr outside 1 to 7.
    int32_t *beatColor(int beat);
    const int32_t *beatColor(int beat) const;
    // Whether beat n (1-based) is accented by AccentBeatConfig.
    bool isAccentBeat(int beat) const;
};

struct ProgramState {
    std::unique_ptr<clsRegistry> oRegistry;
    ProgramSettings settings;
    // The process-wide flag, under the name the settings record gives it.
    bool &bShuttingDown = processShuttingDown();
    // True once LoadSettings has filled the record; shutdown only saves a record that was loaded.
    bool settingsLoaded = false;
};

// The one program state of the process.
ProgramState &programState();
inline ProgramSettings &settings() { return programState().settings; }

} // namespace pulsivar
