// SPDX-License-Identifier: GPL-2.0-or-later
// Feeds every track of a corpus to a beat-detector module sample by sample, as the program does,
// and writes one CSV row a track: the tempo read every 200 ms, confidence, beat times and CPU cost.
//
// Usage: bench_beatdetect <module file> <corpus folder> <output csv> [seconds]

#include "LeftChannel.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Module {
    int32_t (*create)() = nullptr;
    void (*addSample)(int32_t, float) = nullptr;
    float (*getParameter)(int32_t, int32_t) = nullptr;
    void (*destroy)(int32_t) = nullptr;
};

bool loadModule(const std::string& path, Module& m)
{
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::cerr << "cannot load " << path << ": " << dlerror() << "\n";
        return false;
    }
    m.create = reinterpret_cast<int32_t (*)()>(dlsym(lib, "BPM_Create"));
    m.addSample = reinterpret_cast<void (*)(int32_t, float)>(dlsym(lib, "BPM_AddSample"));
    m.getParameter = reinterpret_cast<float (*)(int32_t, int32_t)>(dlsym(lib, "BPM_getParameter"));
    m.destroy = reinterpret_cast<void (*)(int32_t)>(dlsym(lib, "BPM_Destroy"));
    return m.create && m.addSample && m.getParameter && m.destroy;
}

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: bench_beatdetect <module> <corpus folder> <output csv> [seconds]\n";
        return 2;
    }
    const std::string folder = argv[2];
    const double seconds = argc > 4 ? std::stod(argv[4]) : 30.0;
    Module m;
    if (!loadModule(argv[1], m))
        return 1;

    std::ifstream truth(folder + "/truth.csv");
    std::ofstream out(argv[3]);
    if (!truth || !out) {
        std::cerr << "cannot read " << folder << "/truth.csv or write " << argv[3] << "\n";
        return 1;
    }
    out << "name,audio_seconds,cpu_seconds,final_bpm,final_confidence,tempo_trace,beats\n";
    std::string line;
    std::getline(truth, line);
    int tracks = 0;
    while (std::getline(truth, line)) {
        const std::string name = line.substr(0, line.find(','));
        std::vector<int16_t> left;
        if (!loadLeft(folder + "/" + name + ".wav", left)) {
            std::cerr << "skipping " << name << ": " << SDL_GetError() << "\n";
            continue;
        }
        const size_t total = std::min(left.size(), static_cast<size_t>(seconds * 44100));
        std::ostringstream trace;
        std::ostringstream beats;
        const double start = cpuSeconds();
        const int32_t h = m.create();
        float lastMarker = 0.0f;
        float bpm = 0.0f;
        float confidence = 0.0f;
        for (size_t i = 0; i < total; ++i) {
            m.addSample(h, static_cast<float>(left[i]));
            // The beat marker is read far more often than the program does, to time each beat.
            if ((i & 63) == 63) {
                const float marker = m.getParameter(h, 2);
                if (static_cast<long>(marker) != static_cast<long>(lastMarker))
                    beats << (i + 1) / 44100.0 << ' ';
                lastMarker = marker;
            }
            if ((i + 1) % 8820 == 0) {
                bpm = m.getParameter(h, 0);
                confidence = m.getParameter(h, 1);
                trace << bpm << ' ';
            }
        }
        m.destroy(h);
        const double cpu = cpuSeconds() - start;
        out << name << ',' << total / 44100.0 << ',' << cpu << ',' << bpm << ',' << confidence << ','
            << trace.str() << ',' << beats.str() << "\n";
        ++tracks;
    }
    std::cerr << tracks << " tracks\n";
    return tracks > 0 ? 0 : 1;
}
