// SPDX-License-Identifier: GPL-2.0-or-later
/* The C interface of the beat detector module bpmDetect.dll: the module implements it, the
   program loads it by these names and types. */
#pragma once
#include <stdint.h>

#if defined(PULSIVAR_BEATDETECT_BUILDING_MODULE)
#  if defined(_WIN32)
#    define PULSIVAR_BEATDETECT_API __declspec(dllexport)
#  else
#    define PULSIVAR_BEATDETECT_API __attribute__((visibility("default")))
#  endif
#else
#  define PULSIVAR_BEATDETECT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What BPM_getParameter reports. */
enum {
    BPM_PARAMETER_TEMPO = 0,      /* beats per minute; 0 until a tempo is found */
    BPM_PARAMETER_CONFIDENCE = 1, /* x 3, capped at 100, is the percent shown */
    BPM_PARAMETER_BEAT = 2        /* the integer part grows by one at each beat */
};

/* A new detector's handle: a positive number, or 0 when none could be made. */
PULSIVAR_BEATDETECT_API int32_t BPM_Create(void);
/* One sample of the signal, -32768 to 32767, at 44,100 Hz. */
PULSIVAR_BEATDETECT_API void BPM_AddSample(int32_t handle, float sample);
PULSIVAR_BEATDETECT_API float BPM_getParameter(int32_t handle, int32_t index);
PULSIVAR_BEATDETECT_API void BPM_setParameter(int32_t handle, int32_t index, float value);
/* A destroyed or unknown handle is ignored by every function. */
PULSIVAR_BEATDETECT_API void BPM_Destroy(int32_t handle);

#ifdef __cplusplus
}
#endif
