// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the main window gets its audio input engine and beat detector; tests install fakes.
#include "detect/AudioInputEngine.h"
#include "detect/BeatDetectorEngine.h"

#include <functional>
#include <memory>

namespace pulsivar {

using AudioInputEngineFactory = std::function<std::unique_ptr<AudioInputEngine>()>;
using BeatDetectorFactory = std::function<std::unique_ptr<BeatDetectorEngine>()>;

// The modules in the program folder, unless a test installed other engines.
std::unique_ptr<AudioInputEngine> makeAudioInputEngine();
std::unique_ptr<BeatDetectorEngine> makeBeatDetector();

// Empty factories bring back the modules.
void setDetectionEngineFactories(AudioInputEngineFactory audioInput, BeatDetectorFactory detector);

} // namespace pulsivar
