#include <windows.h>

#include "library_state.h"

// Keeps the module handle for resources; no clean-up at detach, the host calls Parlo_Shutdown.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) library().moduleHandle = instance;
    return TRUE;
}
