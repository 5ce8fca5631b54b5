// Start-up, shut-down and the exports that need no pipeline.
#include <cstdint>

#include "error_messages.h"
#include "library_state.h"
#include "low_mips.h"
#include "melp_ana.h"
#include "melp_syn.h"
#include "settings_store.h"
#include "trace_log.h"

extern "C" {

PARLO_API int __cdecl Parlo_Init(void) {
    LibraryState& state = library();
    if (state.initialized) return PARLO_OK;
    state.initialized = true;
    state.lastError = PARLO_OK;

    // Only its presence matters: a completed wizard always writes it.
    uint32_t receiveOnly = 0;
    if (!SettingsStore::readDword(kSettingRecvOnly, &receiveOnly))
        failWith(PARLO_ERR_NOT_CONFIGURED, kMsgNotConfigured);

    uint32_t lowMips = 0;
    SettingsStore::readDword(kSettingLowMips, &lowMips);
    set_low_mips(static_cast<int>(lowMips));
    synth_startup();
    encoder_startup();
    return state.lastError;
}

PARLO_API void __cdecl Parlo_Shutdown(void) {
    synth_shutdown();
    encoder_shutdown();
    library().initialized = false;
    library().lastError = PARLO_OK;
}

PARLO_API int __cdecl Parlo_GetLastError(void) { return library().lastError; }

PARLO_API void __cdecl Parlo_Trace(int mask) { TraceLog::setMask(mask); }

}  // extern "C"
