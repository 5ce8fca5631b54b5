// Library-wide state behind the exports: one instance per loaded library, no lock (the host
// drives init, shutdown and pipeline life from one thread).
#pragma once

#include <windows.h>

#include "parlo.h"

struct LibraryState {
    bool initialized = false;
    int lastError = PARLO_OK;
    HINSTANCE moduleHandle = nullptr;
};

LibraryState& library();

// Sets the last-error code and writes its message to the error category of the trace.
void failWith(int code, const char* message);

// The check every export that takes a pipeline makes first; false means the export fails.
bool pipelineGuardPasses(const Pipeline* pipeline);
