#include "trace_log.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "critical_section_guard.h"
#include "trace_output.h"

namespace {

constexpr int kLineBytes = 160;
constexpr int kLinesPerHandOut = 4;

struct TraceState {
    CRITICAL_SECTION lock;
    char lines[kLinesPerHandOut][kLineBytes];
    int lineCount = 0;
    TraceOutput output;
};

std::atomic<int> traceMask{0};
std::atomic<bool> lockReady{false};
INIT_ONCE initOnce = INIT_ONCE_STATIC_INIT;
TraceState state;

enum class FirstUse { Log, SetMask };

BOOL CALLBACK initialize(PINIT_ONCE, PVOID parameter, PVOID*) {
    InitializeCriticalSection(&state.lock);
    // An explicit mask from the host always wins over the environment.
    if (*static_cast<FirstUse*>(parameter) == FirstUse::Log) {
        // Like atoi, but without its undefined result for numbers out of range.
        if (const char* text = std::getenv("PARLO_TRACE"))
            traceMask = static_cast<int>(std::strtol(text, nullptr, 10));
    }
    lockReady = true;
    return TRUE;
}

// Exactly once per process, even when two threads come first together.
void ensureInitialized(FirstUse use) {
    if (lockReady) return;
    InitOnceExecuteOnce(&initOnce, initialize, &use, nullptr);
}

void handOutLines() {
    for (int i = 0; i < kLinesPerHandOut; ++i) state.output.write(state.lines[i]);
    state.output.flush();
    state.lineCount = 0;
}

}  // namespace

void TraceLog::log(int category, const char* format, ...) {
    ensureInitialized(FirstUse::Log);
    if ((category & traceMask) == 0) return;

    CriticalSectionGuard guard(&state.lock);
    char* slot = state.lines[state.lineCount];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(slot, kLineBytes, format, args);
    va_end(args);
    if (written < 0) slot[0] = '\0';  // a bad conversion leaves the slot undefined
    slot[kLineBytes - 1] = '\0';      // some C runtimes leave a cut line unterminated
    if (++state.lineCount == kLinesPerHandOut) handOutLines();
}

void TraceLog::setMask(int mask) {
    ensureInitialized(FirstUse::SetMask);
    traceMask = mask;
}
