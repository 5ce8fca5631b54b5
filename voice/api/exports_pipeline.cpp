// The exports that work on a pipeline. Pipelines, the talker table, the wizard and the mike
// test arrive with the audio layer; until then no pipeline can be created, so past the guard
// these exports have nothing to act on and return their failure values.
#include "error_messages.h"
#include "library_state.h"

extern "C" {

PARLO_API Pipeline* __cdecl Parlo_CreatePipeline(const PipelineConfig* config) {
    if (config == nullptr || config->size < sizeof(PipelineConfig)) {
        failWith(PARLO_ERR_INVALID_STRUCT, kMsgInvalidStruct);
        return nullptr;
    }
    failWith(PARLO_ERR_NO_PIPELINE, kMsgNoPipeline);
    return nullptr;
}

PARLO_API void __cdecl Parlo_DestroyPipeline(Pipeline* pipeline) {
    if (!pipelineGuardPasses(pipeline)) return;
    library().lastError = PARLO_OK;
}

PARLO_API int __cdecl Parlo_Receive(int, int, const VoicePacket*, int, Pipeline* pipeline) {
    constexpr int kRejected = 1;
    pipelineGuardPasses(pipeline);
    return kRejected;
}

PARLO_API void __cdecl Parlo_StartRecording(Pipeline* pipeline, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API void __cdecl Parlo_StopRecording(Pipeline* pipeline) { pipelineGuardPasses(pipeline); }

PARLO_API void __cdecl Parlo_SetNetSendProc(Pipeline* pipeline, NetSendProc, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API NetSendProc __cdecl Parlo_GetNetSendProc(Pipeline* pipeline, int*) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API void __cdecl Parlo_SetRecordFilterProc(Pipeline* pipeline, RecordFilterProc, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API RecordFilterProc __cdecl Parlo_GetRecordFilterProc(Pipeline* pipeline, int*) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API void __cdecl Parlo_SetPlaybackFilterProc(Pipeline* pipeline, PlaybackFilterProc, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API PlaybackFilterProc __cdecl Parlo_GetPlaybackFilterProc(Pipeline* pipeline, int*) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API void __cdecl Parlo_SetPlaybackFilterCProc(Pipeline* pipeline, PlaybackFilterCProc, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API PlaybackFilterCProc __cdecl Parlo_GetPlaybackFilterCProc(Pipeline* pipeline, int*) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API IDirectSoundBuffer* __cdecl Parlo_GetSoundBuffer(Pipeline* pipeline) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API IDirectSound* __cdecl Parlo_GetPlaybackDevice(Pipeline* pipeline) {
    pipelineGuardPasses(pipeline);
    return nullptr;
}

PARLO_API void __cdecl Parlo_SetVolume(Pipeline* pipeline, int, unsigned int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API int __cdecl Parlo_GetVolume(Pipeline* pipeline, int) {
    pipelineGuardPasses(pipeline);
    return 0;
}

PARLO_API void __cdecl Parlo_SetPlayMikeClicks(Pipeline* pipeline, int) {
    pipelineGuardPasses(pipeline);
}

PARLO_API int __cdecl Parlo_GetPlayMikeClicks(Pipeline* pipeline) {
    pipelineGuardPasses(pipeline);
    return 0;
}

PARLO_API int __cdecl Parlo_Configure(Pipeline* pipeline, HWND) {
    if (!library().initialized) Parlo_Init();
    if (pipeline == nullptr) {
        // The wizard needs open devices: it runs on a temporary pipeline.
        PipelineConfig defaults = {};
        defaults.size = sizeof(PipelineConfig);
        pipeline = Parlo_CreatePipeline(&defaults);
    }
    pipelineGuardPasses(pipeline);
    return 0;
}

PARLO_API int __cdecl Parlo_MikeTest(Pipeline* pipeline, int, int) {
    pipelineGuardPasses(pipeline);
    return 0;
}

}  // extern "C"
