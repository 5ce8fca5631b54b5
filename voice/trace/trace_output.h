// Where trace lines go: chosen once per process, at the first hand-out, and never again.
#pragma once

class TraceOutput {
  public:
    // Sends one line to the viewer window or appends it to the file; drops it when neither
    // could be had.
    void write(const char* line);
    void flush();

  private:
    void choose();

    bool chosen_ = false;
    void* viewer_ = nullptr;  // HWND of the "DebugPrint" window
    void* file_ = nullptr;    // FILE*, never closed: lines may come until the process ends
};
