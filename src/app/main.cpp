// SPDX-License-Identifier: GPL-2.0-or-later
// The executable only creates the application, runs the entry routine and the event loop.
#include <QApplication>
#include <SDL.h>
#include "app/Startup.h"

int main(int argc, char *argv[])
{
    // Monitor sources (the desktop's "Stereo Mix") are listed only when this is set before SDL
    // first starts its audio, wherever in the process that happens.
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    // SDL would turn SIGINT and SIGTERM into quit events nobody reads; the program handles them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    QApplication application(argc, argv);
    pulsivar::saveSettingsWhenDisplayLost();
    if (!pulsivar::claimProgramInstance())
        return 0;
    pulsivar::Main();
    return application.exec();
}
