#include "trace_output.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr const wchar_t* kViewerTitle = L"DebugPrint";
constexpr const char* kTraceFileName = "OBTrace.txt";
constexpr int kTitleChars = 256;

// Top of the Z-order down; only an exact, case-sensitive title match counts. The title is read
// without sending WM_GETTEXT: a window of this process whose thread waits for the trace lock
// could never answer.
HWND findViewer() {
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        wchar_t title[kTitleChars + 1] = {};
        InternalGetWindowText(window, title, kTitleChars + 1);
        if (std::wcscmp(title, kViewerTitle) == 0) return window;
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
                     reinterpret_cast<WPARAM>(GetActiveWindow()), reinterpret_cast<LPARAM>(&data));
    } else if (file_ != nullptr) {
        std::fputs(line, static_cast<FILE*>(file_));
        std::fputc('\n', static_cast<FILE*>(file_));
    }
}

void TraceOutput::flush() {
    if (file_ != nullptr) std::fflush(static_cast<FILE*>(file_));
}
