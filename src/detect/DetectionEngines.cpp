// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/DetectionEngines.h"

#include "detect/AudioInputModuleEngine.h"
#include "detect/BeatDetectorModule.h"

namespace pulsivar {

namespace {
AudioInputEngineFactory &audioInputFactory()
{
    static AudioInputEngineFactory factory;
    return factory;
}

BeatDetectorFactory &detectorFactory()
{
    static BeatDetectorFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<AudioInputEngine> makeAudioInputEngine()
{
    if (audioInputFactory())
        return audioInputFactory()();
    return std::make_unique<ModuleAudioInputEngine>();
}

std::unique_ptr<BeatDetectorEngine> makeBeatDetector()
{
    if (detectorFactory())
        return detectorFactory()();
    return std::make_unique<ModuleBeatDetector>();
}

void setDetectionEngineFactories(AudioInputEngineFactory audioInput, BeatDetectorFactory detector)
{
    audioInputFactory() = std::move(audioInput);
    detectorFactory() = std::move(detector);
}

} // namespace pulsivar
