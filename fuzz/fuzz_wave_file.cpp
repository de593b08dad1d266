// SPDX-License-Identifier: GPL-2.0-or-later
// A wave file in the program folder may be any file the user put there under that name.
#include "metronome/SoundEngineMixer.h"
#include "metronome/SoundEngineSdl.h"

#include <sys/mman.h>
#include <unistd.h>
#include <cstdlib>
#include <vector>

using namespace pulsivar;

namespace {
// The wave is read by path, as the program reads it; one in-memory file serves every input.
int waveFile()
{
    static const int fd = memfd_create("fuzz.wav", 0);
    return fd;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const int fd = waveFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        std::abort();
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    const auto sound = decodeWaveFile(path, SdlBeatSoundEngine::sampleRate);
    if (!sound)
        return 0;
    if (sound->samples.empty())
        std::abort();

    // Play it the way a beat does: a click, cut by the next one, both rendered to the end.
    ClickMixer mixer(SdlBeatSoundEngine::channels);
    mixer.schedule(sound.get(), 0, 1);
    mixer.schedule(sound.get(), 300, 2);
    std::vector<float> out(std::size_t(SdlBeatSoundEngine::bufferFrames) * SdlBeatSoundEngine::channels);
    int64_t frame = 0;
    for (int buffer = 0; buffer < 4 && !mixer.isSilent(); ++buffer) {
        mixer.render(out.data(), SdlBeatSoundEngine::bufferFrames, frame);
        frame += SdlBeatSoundEngine::bufferFrames;
    }
    return 0;
}
