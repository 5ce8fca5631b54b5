// A top-level window living on a thread of its own, as a trace viewer or any other window of the
// process would: it records every WM_COPYDATA it receives and can run tasks on its thread.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CopiedData {
    ULONG_PTR dwData;
    DWORD cbData;
    std::string bytes;  // all cbData bytes, terminator included
    WPARAM wParam;
};

class TestWindow {
  public:
    // onTitleAsked runs on the window's thread whenever its title is asked for by message.
    explicit TestWindow(const std::string& title, std::function<void()> onTitleAsked = {});
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();

    HWND handle() const { return window_; }
    std::vector<CopiedData> received() const;
    void post(std::function<void()> task);
    // Destroys the window and ends its thread; what it received stays readable.
    void close();

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void run(const std::string& title);
    void record(WPARAM wParam, const COPYDATASTRUCT& data);

    std::function<void()> onTitleAsked_;
    HWND window_ = nullptr;
    HANDLE ready_ = nullptr;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<CopiedData> received_;
};
