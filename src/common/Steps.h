// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Runs the steps of a handler each on its own: a step that throws is skipped and the next runs.
namespace pulsivar {

template <typename Step>
void runStep(Step &&step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace pulsivar
