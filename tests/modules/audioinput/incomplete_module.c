// SPDX-License-Identifier: GPL-2.0-or-later
/* Exports one of the engine's functions and none of the others. */
#include <stdint.h>

#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
int32_t FMOD_System_Create(int32_t *system)
{
    if (system)
        *system = 0;
    return 9;
}
