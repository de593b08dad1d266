// SPDX-License-Identifier: GPL-2.0-or-later
// How close "Sync to music" and "Keep in sync" put the click to the music's beats, over time.
// Each track's left channel is fed to the beat detector sample by sample; every 200 ms (as the
// program polls) the detector is read. At 5 s "Sync to music" is pressed (and done again once the
// detector is sure, if it was not yet); from then on every poll is one "Keep in sync" correction
// of the beat grid. Each click of the grid is compared with the
// nearest true beat. The clocks here are exact: the figures are the detector's phase and the sync
// rule's own, without the audio devices' jitter (the end-to-end test measures that).
//
// Usage: bench_decks [folder with <name>.wav and <name>.beats ...]
//   without a folder: three generated tracks.
#include "../beatdetect/LeftChannel.h"
#include "BeatDetector.h"
#include "metronome/BeatGrid.h"
#include "tempo/MusicSync.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace pulsivar;

namespace {

constexpr int rate = 44100;
constexpr int pollSamples = rate / 5;
constexpr double syncAtSeconds = 5.0;
constexpr int windowSeconds = 5;

struct Track {
    std::string name;
    std::vector<int16_t> left;
    std::vector<double> beats;
};

Track generated(double bpm, unsigned seed)
{
    Track track;
    track.name = "generated " + std::to_string(int(bpm)) + " BPM";
    const int frames = rate * 32;
    std::vector<double> mix(frames, 0.0);
    std::mt19937 noise(seed);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const double beat = 60.0 / bpm;
    for (int k = 0; k * beat < 32; ++k) {
        track.beats.push_back(k * beat);
        const int at = int(std::lround(k * beat * rate));
        for (int i = 0; i < rate / 4 && at + i < frames; ++i) {
            const double t = double(i) / rate;
            mix[at + i] += 0.8 * std::exp(-t * 12) * std::sin(2 * M_PI * (50 + 90 * std::exp(-t * 30)) * t);
            if (k % 2 == 1 && i < rate / 7)
                mix[at + i] += 0.35 * std::exp(-t * 25) * white(noise);
        }
    }
    for (double v : mix)
        track.left.push_back(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 26000)));
    return track;
}

bool load(const std::filesystem::path &wave, Track &track)
{
    track.name = wave.stem().string();
    if (!loadLeft(wave.string(), track.left))
        return false;
    std::ifstream beats(std::filesystem::path(wave).replace_extension(".beats"));
    for (double t; beats >> t;)
        track.beats.push_back(t);
    return track.beats.size() > 8;
}

double nearestOffset(const std::vector<double> &beats, double at)
{
    const auto after = std::lower_bound(beats.begin(), beats.end(), at);
    double best = 1e9;
    if (after != beats.end())
        best = *after - at;
    if (after != beats.begin() && at - *(after - 1) < std::abs(best))
        best = *(after - 1) - at;
    return -best; // positive: the click is late
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * values.size()))];
}

void run(const Track &track)
{
    beatdetect::BeatDetector detector;
    BeatGrid grid;
    MusicSync sync;
    bool synced = false;
    bool pending = false;
    int64_t nextClick = 0;
    const int windows = int(track.left.size() / rate) / windowSeconds;
    std::vector<std::vector<double>> byWindow(std::size_t(std::max(windows, 1)));
    std::vector<double> late;
    std::vector<double> lateSigned;
    for (std::size_t i = 0; i < track.left.size(); ++i) {
        detector.addSample(track.left[i]);
        if ((i + 1) % pollSamples != 0)
            continue;
        const double now = double(i + 1) / rate;
        // Every click due by now is compared with the music.
        while (synced && grid.beat(nextClick).dueSeconds <= now) {
            const double at = grid.beat(nextClick++).dueSeconds;
            const double offset = nearestOffset(track.beats, at) * 1000;
            const std::size_t w = std::size_t(at / windowSeconds);
            if (w < byWindow.size())
                byWindow[w].push_back(std::abs(offset));
            if (at >= syncAtSeconds + 15) {
                late.push_back(std::abs(offset));
                lateSigned.push_back(offset);
            }
        }
        const double tempo = detector.parameter(beatdetect::BeatDetector::Tempo);
        const double confidence = detector.parameter(beatdetect::BeatDetector::Confidence);
        const double marker = detector.parameter(beatdetect::BeatDetector::BeatMarker);
        if (!(tempo > 0))
            continue;
        const double period = 60.0 / tempo;
        const double beat = now - (marker - std::floor(marker)) * period;
        // As the program does: pressed before the detector is sure, the sync is done again
        // the whole way once it is.
        const bool sure = confidence >= MusicSync::minimumConfidence;
        if ((!synced && now >= syncAtSeconds) || (pending && sure)) {
            if (!synced)
                grid.start(now, period, 1);
            grid.retime(now, period, beat, period / 2);
            if (!synced)
                nextClick = grid.schedule().firstIndexAtOrAfter(now);
            pending = !sure;
            synced = true;
            sync.reset();
            continue;
        }
        if (!synced || confidence < MusicSync::minimumConfidence) {
            sync.reset();
            continue;
        }
        const double due = grid.beat(nextClick).dueSeconds;
        grid.retime(now, period, due + sync.correction(due, beat, period), MusicSync::maxStepSeconds);
    }
    std::printf("%-58s", track.name.c_str());
    for (const auto &window : byWindow)
        std::printf(" %6.1f", percentile(window, 0.5));
    std::printf(" | %6.1f %6.1f %6.1f\n", percentile(late, 0.5), percentile(late, 0.9), percentile(lateSigned, 0.5));
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<Track> tracks;
    if (argc < 2) {
        tracks.push_back(generated(96, 1));
        tracks.push_back(generated(126, 2));
        tracks.push_back(generated(174, 3));
    }
    for (int a = 1; a < argc; ++a) {
        std::vector<std::filesystem::path> waves;
        for (const auto &entry : std::filesystem::directory_iterator(argv[a]))
            if (entry.path().extension() == ".wav")
                waves.push_back(entry.path());
        std::sort(waves.begin(), waves.end());
        for (const auto &wave : waves) {
            Track track;
            if (load(wave, track))
                tracks.push_back(std::move(track));
        }
    }
    std::printf("median |click - nearest true beat| in ms, per 5 s of the track (sync pressed at %.0f s)"
                " | after 15 s of sync: median, p90, signed median (+ late)\n",
                syncAtSeconds);
    for (const Track &track : tracks)
        run(track);
    return 0;
}
