// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/ProgramState.h"

#include "platform/Registry.h"

namespace pulsivar {

int32_t *ProgramSettings::beatColor(int beat)
{
    switch (beat) {
    case 1: return &BeatColor1;
    case 2: return &BeatColor2;
    case 3: return &BeatColor3;
    case 4: return &BeatColor4;
    case 5: return &BeatColor5;
    case 6: return &BeatColor6;
    case 7: return &BeatColor7;
    default: return nullptr;
    }
}

const int32_t *ProgramSettings::beatColor(int beat) const
{
    return const_cast<ProgramSettings *>(this)->beatColor(beat);
}

bool ProgramSettings::isAccentBeat(int beat) const
{
    return beat >= 1 && beat <= AccentBeatConfig.size() && AccentBeatConfig[beat - 1] == u'1';
}

ProgramState &programState()
{
    static ProgramState state;
    return state;
}

} // namespace pulsivar
