// The library's diagnostic trace. Lines of enabled categories are buffered and handed out four
// at a time, to a viewer window titled "DebugPrint" when one exists at the first hand-out, else
// to "OBTrace.txt" in the current directory. The mask comes from PARLO_TRACE unless the host
// sets it first.
#pragma once

constexpr int kTraceErrors = 1;  // "ERR:" lines and the configuration warning
constexpr int kTraceReceivedPackets = 2;
constexpr int kTraceRecordedPackets = 4;
constexpr int kTraceBufferWrites = 8;
constexpr int kTraceScheduling = 16;

class TraceLog {
  public:
    // Costs one bitwise test when the category is disabled.
    static void log(int category, const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Replaces the mask; before the first line it also keeps PARLO_TRACE from being read.
    static void setMask(int mask);
};
