// Holds a critical section for the life of a scope.
#pragma once

#include <windows.h>

class CriticalSectionGuard {
  public:
    explicit CriticalSectionGuard(CRITICAL_SECTION* section) : section_(section) {
        EnterCriticalSection(section_);
    }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;
    ~CriticalSectionGuard() { LeaveCriticalSection(section_); }

  private:
    CRITICAL_SECTION* section_;
};
