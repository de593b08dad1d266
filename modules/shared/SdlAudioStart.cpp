// SPDX-License-Identifier: GPL-2.0-or-later
#include "SdlAudioStart.h"

#include <SDL.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#if defined(PULSIVAR_HAVE_LIBPULSE)
#include <pulse/pulseaudio.h>
#endif

namespace pulsivar::audio {

#if defined(PULSIVAR_HAVE_LIBPULSE)
namespace {
struct ServerAnswer {
    bool done = false;
    bool lacksDefaults = false;
};

extern "C" void takeServerInfo(pa_context *, const pa_server_info *info, void *userdata)
{
    auto *answer = static_cast<ServerAnswer *>(userdata);
    answer->lacksDefaults = !info || !info->default_sink_name || !info->default_source_name;
    answer->done = true;
}

// Runs the loop until done says so or the time is up.
template <typename Done>
bool iterateUntil(pa_mainloop *loop, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline || pa_mainloop_iterate(loop, 0, nullptr) < 0)
            return false;
        if (!done())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
} // namespace

bool pulseServerLacksDefaults()
{
    pa_mainloop *loop = pa_mainloop_new();
    if (!loop)
        return false;
    pa_context *context = pa_context_new(pa_mainloop_get_api(loop), "Pulsivar");
    ServerAnswer answer;
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const auto settled = [context] {
            const pa_context_state_t state = pa_context_get_state(context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        };
        if (iterateUntil(loop, settled) && pa_context_get_state(context) == PA_CONTEXT_READY) {
            if (pa_operation *asked = pa_context_get_server_info(context, takeServerInfo, &answer)) {
                iterateUntil(loop, [&answer] { return answer.done; });
                pa_operation_unref(asked);
            }
        }
        pa_context_disconnect(context);
    }
    if (context)
        pa_context_unref(context);
    pa_mainloop_free(loop);
    return answer.done && answer.lacksDefaults;
}
#else
bool pulseServerLacksDefaults() { return false; }
#endif

bool startSdlAudio()
{
    // Once SDL's audio runs, a further start only counts up, and the driver is already there.
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        const char *driver = std::getenv("SDL_AUDIODRIVER");
        const bool mayBePulse = !driver || !*driver || std::strstr(driver, "pulse") != nullptr;
        if (mayBePulse && pulseServerLacksDefaults()) {
            SDL_SetError("The PulseAudio server has no sound device");
            return false;
        }
    }
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

} // namespace pulsivar::audio
