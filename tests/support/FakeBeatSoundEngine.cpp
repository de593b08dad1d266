// SPDX-License-Identifier: GPL-2.0-or-later
#include "FakeBeatSoundEngine.h"

#include "metronome/BeatSound.h"

namespace pulsivar::test {

FakeBeatSoundEngine::FakeBeatSoundEngine() { setBeatSoundEngine(this); }

FakeBeatSoundEngine::~FakeBeatSoundEngine() { setBeatSoundEngine(nullptr); }

bool FakeBeatSoundEngine::play(const QString &path, double dueMonotonicSeconds)
{
    plays.append({path, dueMonotonicSeconds});
    return playResult;
}

QStringList FakeBeatSoundEngine::paths() const
{
    QStringList result;
    for (const Play &p : plays)
        result.append(p.path);
    return result;
}

void FakeBeatSoundEngine::clear()
{
    plays.clear();
    schedules.clear();
    stops = 0;
    prepares = 0;
}

} // namespace pulsivar::test
