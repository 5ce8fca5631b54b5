#include "library_state.h"

#include "error_messages.h"
#include "trace_log.h"

LibraryState& library() {
    static LibraryState state;
    return state;
}

void failWith(int code, const char* message) {
    library().lastError = code;
    TraceLog::log(kTraceErrors, "%s", message);
}

bool pipelineGuardPasses(const Pipeline* pipeline) {
    if (!library().initialized) {
        failWith(PARLO_ERR_NOT_INITIALIZED, kMsgNotInitialized);
        return false;
    }
    if (pipeline == nullptr) {
        failWith(PARLO_ERR_NULL_PIPELINE, kMsgNullPipeline);
        return false;
    }
    return true;
}
