// SPDX-License-Identifier: GPL-2.0-or-later
#include "HarmonicServices.h"

#include "StaysOnTop.h"

namespace pulsivar {

namespace {

HarmonicServices defaults()
{
    HarmonicServices services;
    services.setAlwaysOnTop = [](QWidget *window) { setStaysOnTop(window, true); };
    services.clearAlwaysOnTop = [](QWidget *window) { setStaysOnTop(window, false); };
    return services;
}

HarmonicServices &current()
{
    static HarmonicServices services = defaults();
    return services;
}

} // namespace

void setHarmonicServices(HarmonicServices services)
{
    const HarmonicServices fallback = defaults();
    if (!services.setAlwaysOnTop)
        services.setAlwaysOnTop = fallback.setAlwaysOnTop;
    if (!services.clearAlwaysOnTop)
        services.clearAlwaysOnTop = fallback.clearAlwaysOnTop;
    current() = std::move(services);
}

const HarmonicServices &harmonicServices()
{
    return current();
}

void runWindowStep(const HarmonicServices::WindowStep &step, QWidget *window)
{
    if (!step || !window)
        return;
    try {
        step(window);
    } catch (...) {
        // A window that cannot be skinned or placed is still usable.
    }
}

} // namespace pulsivar
