// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the evidence the detector weighs for each metrical level it considers, at several
// moments of every corpus track, with whether that level is the labelled tempo: the data
// fit_levels.py fits the level weights to.
//
// Usage: level_features <corpus folder> <output csv>

#include "BeatDetector.h"
#include "LeftChannel.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using pulsivar::beatdetect::BeatDetector;
using pulsivar::beatdetect::LevelEvidence;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: level_features <corpus folder> <output csv>\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ifstream truth(folder + "/truth.csv");
    std::ofstream out(argv[2]);
    std::string line;
    std::getline(truth, line);
    std::vector<std::string> columns;
    {
        std::stringstream header(line);
        for (std::string c; std::getline(header, c, ',');)
            columns.push_back(c);
    }
    out << "name,split,ambiguous,truth,seconds,candidate,bpm,right";
    for (int f = 0; f < LevelEvidence::Count; ++f)
        out << ",f" << f;
    out << "\n";
    while (std::getline(truth, line)) {
        std::stringstream row(line);
        std::vector<std::string> cells;
        for (std::string c; std::getline(row, c, ',');)
            cells.push_back(c);
        auto cell = [&](const std::string& name) {
            for (size_t i = 0; i < columns.size() && i < cells.size(); ++i)
                if (columns[i] == name)
                    return cells[i];
            return std::string();
        };
        std::vector<int16_t> left;
        if (!loadLeft(folder + "/" + cells[0] + ".wav", left))
            continue;
        const double bpm = std::stod(cell("bpm"));
        BeatDetector detector;
        for (size_t i = 0; i < left.size() && i < 30 * 44100u; ++i) {
            detector.addSample(left[i]);
            // Just after an evaluation (every 20 frames of 441 samples) every 5 s from 10 s on.
            if ((i + 1) % (5 * 44100) != 0 || i < 9 * 44100)
                continue;
            const auto& levels = detector.tempo().levels();
            for (int c = 0; c < levels.count(); ++c) {
                const auto& cand = levels.candidate(c);
                out << cells[0] << ',' << cell("split") << ',' << cell("ambiguous") << ',' << bpm << ','
                    << (i + 1) / 44100 << ',' << c << ',' << cand.bpm << ','
                    << (std::fabs(cand.bpm / bpm - 1.0) <= 0.04 ? 1 : 0);
                for (double v : cand.evidence.values)
                    out << ',' << v;
                out << "\n";
            }
        }
    }
    return 0;
}
