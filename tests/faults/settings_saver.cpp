// SPDX-License-Identifier: GPL-2.0-or-later
// Loads the settings, then saves them over and over, each save with the next generation number
// written into several settings; after each save it prints "saved N". The kill test shoots it
// down at random moments and checks what the store holds.
#include "settings/ProgramState.h"
#include "settings/Settings.h"
#include "common/MessageBox.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <cstdio>

using namespace pulsivar;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The upgrade notice may come up on the first load; nobody is there to answer it.
    setMessageAnswerer([](const MessageRequest &) { return QMessageBox::Ok; });
    programState().oRegistry = std::make_unique<clsRegistry>();
    LoadSettings();
    ProgramSettings &s = settings();
    int32_t generation = s.AutoBPMColor;
    // Bounded, so a test that fails to kill it does not leave it running.
    for (int save = 0; save < 200000; ++save) {
        ++generation;
        s.AutoBPMColor = generation;
        for (int beat = 1; beat <= 7; ++beat)
            *s.beatColor(beat) = generation + beat;
        s.AccentBeatConfig = QString::number(generation);
        SaveSettings();
        std::printf("saved %d\n", generation);
        std::fflush(stdout);
    }
    return 0;
}
