#include "trace_output.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kViewerTitle = "DebugPrint";
constexpr const char* kTraceFileName = "OBTrace.txt";
constexpr int kTitleChars = 256;

// Top of the Z-order down; only an exact, case-sensitive title match counts.
HWND findViewer() {
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        char title[kTitleChars + 1] = {};
        GetWindowTextA(window, title, sizeof title);
        if (std::strcmp(title, kViewerTitle) == 0) return window;
    }
    return nullptr;
}

}  // namespace

void TraceOutput::choose() {
    chosen_ = true;
    viewer_ = findViewer();
    if (viewer_ == nullptr) file_ = std::fopen(kTraceFileName, "w");
}

void TraceOutput::write(const char* line) {
    if (!chosen_) choose();
    if (viewer_ != nullptr) {
        COPYDATASTRUCT data = {};
        data.dwData = 0;
        data.cbData = static_cast<DWORD>(std::strlen(line) + 1);
        data.lpData = const_cast<char*>(line);
        SendMessageA(static_cast<HWND>(viewer_), WM_COPYDATA,
                     reinterpret_cast<WPARAM>(GetActiveWindow()),
                     reinterpret_cast<LPARAM>(&data));
    } else if (file_ != nullptr) {
        std::fputs(line, static_cast<FILE*>(file_));
        std::fputc('\n', static_cast<FILE*>(file_));
    }
}

void TraceOutput::flush() {
    if (file_ != nullptr) std::fflush(static_cast<FILE*>(file_));
}
