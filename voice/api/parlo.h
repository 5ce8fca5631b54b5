/* Parlo: the voice layer of Ombrel. Public interface for host applications.
 *
 * Call order: Parlo_Init once, Parlo_CreatePipeline, then the setters, recording and
 * Parlo_Receive for every arriving packet, Parlo_DestroyPipeline, and Parlo_Shutdown last.
 * Failures are reported by the result and by Parlo_GetLastError; nothing is thrown.
 * Link with Parlo.lib (or load Parlo.dll and resolve by name or by the ordinals of Parlo.def). */
#ifndef PARLO_H
#define PARLO_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef PARLO_BUILDING_DLL
#define PARLO_API __declspec(dllexport)
#else
#define PARLO_API __declspec(dllimport)
#endif

/* Error codes returned by Parlo_GetLastError. */
#define PARLO_OK 0
#define PARLO_ERR_NOT_INITIALIZED 2
#define PARLO_ERR_NOT_CONFIGURED 3
#define PARLO_ERR_INVALID_STRUCT 4
#define PARLO_ERR_NULL_PIPELINE 5
#define PARLO_ERR_DIRECTSOUND 6
#define PARLO_ERR_DIRECTSOUND_CAPTURE 7
#define PARLO_ERR_WAV_RECORDING 8
#define PARLO_ERR_VOLUME_TYPE 9
#define PARLO_ERR_NO_PIPELINE 10 /* the pipeline object could not be created */

/* Volume types of Parlo_SetVolume and Parlo_GetVolume; values are 0..255. */
#define PARLO_PLAYVOLUME 0   /* playback gain, 32 = unity */
#define PARLO_RECORDVOLUME 1 /* record volume */
#define PARLO_DETECTLEVEL 2  /* threshold of the voice-activation gate */

#define PARLO_PACKET_BYTES 85
#define PARLO_PAYLOAD_BYTES 81

#ifndef PARLO_VOICE_PACKET_DEFINED
#define PARLO_VOICE_PACKET_DEFINED
/* One voice packet as the host carries it between users: 85 bytes, byte-aligned. */
typedef struct VoicePacket {
    unsigned char kind;   /* always 0 */
    unsigned char last;   /* 1 = end of a transmission, no audio */
    unsigned char stream; /* transmission number of the sender, wraps 255 -> 0 */
    unsigned char seq;    /* packet number within the transmission, wraps 255 -> 0 */
    unsigned char payload[PARLO_PAYLOAD_BYTES];
} VoicePacket;
#endif

struct IDirectSound;
struct IDirectSoundBuffer;

/* The pipeline handle returned by Parlo_CreatePipeline; opaque to the host. */
typedef struct Pipeline Pipeline;

/* The record given to Parlo_CreatePipeline; size must be at least sizeof(PipelineConfig). */
typedef struct PipelineConfig {
    unsigned int size;
    int noPlayback;                      /* non-zero: no playback buffer, no playback thread */
    struct IDirectSound* playbackDevice; /* the host's device object, or NULL */
    unsigned int extraBufferFlags;       /* OR'ed into the playback buffer's flags */
    int noRecording;                     /* non-zero: no recording device */
} PipelineConfig;

/* Host callbacks. A callback must return promptly and must not start or stop recording,
 * destroy the pipeline or run the mike test. Packet pointers are valid during the call only. */
typedef int(__cdecl* NetSendProc)(int user, const VoicePacket* packet, int length);
typedef int(__cdecl* RecordFilterProc)(int count, short* samples, Pipeline* pipeline, int stream,
                                       int seqPosition, int flags, int user);
typedef int(__cdecl* PlaybackFilterCProc)(int length, const unsigned char* payload,
                                          Pipeline* pipeline, int senderA, int senderB,
                                          int streamInfo, int seqInfo, int flags, int user);
typedef int(__cdecl* PlaybackFilterProc)(int count, float* samples, Pipeline* pipeline, int senderA,
                                         int senderB, int streamInfo, int seqPosition, int flags,
                                         int user);

PARLO_API int __cdecl Parlo_Init(void);
PARLO_API void __cdecl Parlo_Shutdown(void);
PARLO_API Pipeline* __cdecl Parlo_CreatePipeline(const PipelineConfig* config);
PARLO_API void __cdecl Parlo_DestroyPipeline(Pipeline* pipeline);
PARLO_API int __cdecl Parlo_Receive(int senderA, int senderB, const VoicePacket* packet, int length,
                                    Pipeline* pipeline);
PARLO_API void __cdecl Parlo_StartRecording(Pipeline* pipeline, int voiceActivated);
PARLO_API void __cdecl Parlo_StopRecording(Pipeline* pipeline);
PARLO_API void __cdecl Parlo_SetNetSendProc(Pipeline* pipeline, NetSendProc proc, int user);
PARLO_API NetSendProc __cdecl Parlo_GetNetSendProc(Pipeline* pipeline, int* userOut);
PARLO_API void __cdecl Parlo_SetRecordFilterProc(Pipeline* pipeline, RecordFilterProc proc,
                                                 int user);
PARLO_API RecordFilterProc __cdecl Parlo_GetRecordFilterProc(Pipeline* pipeline, int* userOut);
PARLO_API void __cdecl Parlo_SetPlaybackFilterProc(Pipeline* pipeline, PlaybackFilterProc proc,
                                                   int user);
PARLO_API PlaybackFilterProc __cdecl Parlo_GetPlaybackFilterProc(Pipeline* pipeline, int* userOut);
PARLO_API void __cdecl Parlo_SetPlaybackFilterCProc(Pipeline* pipeline, PlaybackFilterCProc proc,
                                                    int user);
PARLO_API PlaybackFilterCProc __cdecl Parlo_GetPlaybackFilterCProc(Pipeline* pipeline,
                                                                   int* userOut);
PARLO_API struct IDirectSoundBuffer* __cdecl Parlo_GetSoundBuffer(Pipeline* pipeline);
PARLO_API struct IDirectSound* __cdecl Parlo_GetPlaybackDevice(Pipeline* pipeline);
PARLO_API int __cdecl Parlo_GetLastError(void);
PARLO_API void __cdecl Parlo_Trace(int mask);
PARLO_API void __cdecl Parlo_SetVolume(Pipeline* pipeline, int type, unsigned int value);
PARLO_API int __cdecl Parlo_GetVolume(Pipeline* pipeline, int type);
PARLO_API void __cdecl Parlo_SetPlayMikeClicks(Pipeline* pipeline, int on);
PARLO_API int __cdecl Parlo_GetPlayMikeClicks(Pipeline* pipeline);
PARLO_API int __cdecl Parlo_Configure(Pipeline* pipeline, HWND parent);
PARLO_API int __cdecl Parlo_MikeTest(Pipeline* pipeline, int seconds, int playBack);

#ifdef __cplusplus
}
#endif

#endif /* PARLO_H */
