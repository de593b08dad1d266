// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The C interface of the audio input engine module fmodex.dll: the module implements it, the
// program loads it by these names and types.
#include <stdint.h>

#if defined(PULSIVAR_AUDIOINPUT_BUILDING_MODULE)
#  if defined(_WIN32)
#    define PULSIVAR_AUDIOINPUT_API __declspec(dllexport)
#  else
#    define PULSIVAR_AUDIOINPUT_API __attribute__((visibility("default")))
#  endif
#else
#  define PULSIVAR_AUDIOINPUT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes: 0 is success, everything else a failure that FMOD_ErrorString describes. */
enum {
    FMOD_OK = 0,
    FMOD_ERR_INVALID_HANDLE = 1,       /* zero, unknown, released or wrong-kind handle */
    FMOD_ERR_INVALID_PARAM = 2,        /* null address, index or range out of bounds */
    FMOD_ERR_UNINITIALIZED = 3,        /* the system needs FMOD_System_Init first */
    FMOD_ERR_INITIALIZED = 4,          /* already initialised */
    FMOD_ERR_RECORD_DRIVER = 5,        /* no such recording device, or it would not open */
    FMOD_ERR_RECORD_DISCONNECTED = 6,  /* the recording device went away while recording */
    FMOD_ERR_FORMAT = 7,               /* sample format or mode this engine does not handle */
    FMOD_ERR_MEMORY = 8,               /* out of memory or out of handles */
    FMOD_ERR_AUDIO_SYSTEM = 9          /* the platform audio layer failed to start */
};

/* FMOD_System_SetSoftwareFormat: the only sample format handled. */
enum { FMOD_SOUND_FORMAT_PCM16 = 2 };

/* FMOD_System_CreateSound: the mode bit of an empty sound the caller fills (here: by recording). */
enum { FMOD_OPENUSER = 0x400 };

/* FMOD_Sound_GetLength units. */
enum { FMOD_TIMEUNIT_MS = 1, FMOD_TIMEUNIT_PCM = 2, FMOD_TIMEUNIT_PCMBYTES = 4 };

/* FMOD_System_GetRecordDriverName: names longer than this are cut (the terminating zero included). */
enum { FMOD_RECORD_DRIVER_NAME_BYTES = 256 };

/* Extra information for FMOD_System_CreateSound: 23 fields of 32 bits (92 bytes), zero unless
   needed. A caller sets cbsize to the size it fills; at least up to and including format. */
typedef struct FMOD_CREATESOUNDEXINFO {
    int32_t cbsize;           /* size of this record in bytes (92) */
    uint32_t length;          /* the sound's length in bytes */
    uint32_t fileoffset;      /* unused */
    int32_t numchannels;      /* 1 or 2, interleaved, left first */
    int32_t defaultfrequency; /* sample rate in Hz */
    int32_t format;           /* FMOD_SOUND_FORMAT_PCM16 */
    uint32_t reserved[17];
} FMOD_CREATESOUNDEXINFO;

/* Handles are positive 32-bit numbers of the module's own tables; 0 is never a valid handle. */
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_Create(int32_t *system);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_SetSoftwareFormat(int32_t system, int32_t samplerate,
                                                              int32_t format,
                                                              int32_t numoutputchannels,
                                                              int32_t maxinputchannels,
                                                              int32_t resamplemethod);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_SetOutput(int32_t system, int32_t output);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_GetRecordNumDrivers(int32_t system, int32_t *numdrivers);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_GetRecordDriverName(int32_t system, int32_t id,
                                                                char *name, int32_t namelen);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_Init(int32_t system, int32_t maxchannels, uint32_t flags,
                                                 void *extradriverdata);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_SetRecordDriver(int32_t system, int32_t driver);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_CreateSound(int32_t system, const char *name_or_data,
                                                        uint32_t mode,
                                                        FMOD_CREATESOUNDEXINFO *exinfo,
                                                        int32_t *sound);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_RecordStart(int32_t system, int32_t sound, int32_t loop);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_RecordStop(int32_t system);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_IsRecording(int32_t system, int32_t *recording);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_GetRecordPosition(int32_t system, uint32_t *position);
/* Frames recorded since the recording started, every lap of the looping sound counted: the record
   position is this modulo the sound's length in frames. A reader whose last count lies more than
   one length behind has been lapped, and the frames it had yet to read are overwritten. */
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_GetRecordFrames(int32_t system, uint64_t *frames);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_Update(int32_t system);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_Close(int32_t system);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_System_Release(int32_t system);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_Sound_GetLength(int32_t sound, uint32_t *length,
                                                     uint32_t lengthtype);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_Sound_Lock(int32_t sound, uint32_t offset, uint32_t length,
                                                void **ptr1, void **ptr2, uint32_t *len1,
                                                uint32_t *len2);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_Sound_Unlock(int32_t sound, void *ptr1, void *ptr2,
                                                  uint32_t len1, uint32_t len2);
PULSIVAR_AUDIOINPUT_API int32_t FMOD_Sound_Release(int32_t sound);
/* A short English description of a result code; never null. */
PULSIVAR_AUDIOINPUT_API const char *FMOD_ErrorString(int32_t result);

#ifdef __cplusplus
}
#endif
