#include "test_window.h"

namespace {
constexpr const char* kClassName = "ParloTraceTestWindow";
constexpr UINT kRunTask = WM_APP + 1;
}  // namespace

TestWindow::TestWindow(const std::string& title, std::function<void()> onTitleAsked)
    : onTitleAsked_(std::move(onTitleAsked)), ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, title] { run(title); });
    WaitForSingleObject(ready_, INFINITE);
}

TestWindow::~TestWindow() {
    close();
    CloseHandle(ready_);
}

void TestWindow::run(const std::string& title) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly for every window after the first

    window_ = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, this);
    if (window_ != nullptr) {
        // The newest window stands on top, so a test decides the Z-order by creation order.
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetEvent(ready_);
    if (window_ == nullptr) return;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

LRESULT CALLBACK TestWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COPYDATA:
            self->record(wParam, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
            return TRUE;
        case WM_GETTEXT:
            if (self != nullptr && self->onTitleAsked_) self->onTitleAsked_();
            break;
        case kRunTask: {
            auto* task = reinterpret_cast<std::function<void()>*>(lParam);
            (*task)();
            delete task;
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TestWindow::record(WPARAM wParam, const COPYDATASTRUCT& data) {
    std::lock_guard<std::mutex> hold(mutex_);
    received_.push_back({data.dwData, data.cbData,
                         std::string(static_cast<const char*>(data.lpData), data.cbData), wParam});
}

std::vector<CopiedData> TestWindow::received() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return received_;
}

void TestWindow::post(std::function<void()> task) {
    PostMessageA(window_, kRunTask, 0,
                 reinterpret_cast<LPARAM>(new std::function<void()>(std::move(task))));
}

void TestWindow::close() {
    if (!thread_.joinable()) return;
    if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}
