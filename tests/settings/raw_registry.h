// Values of any kind placed into and read out of the library's key directly, so that a test sees
// exactly what lies in each hive, independent of the code under test.
#pragma once

#include <windows.h>

#include <string>

struct RawValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
};

void storeRaw(HKEY hive, const char* name, DWORD type, const std::string& bytes);
RawValue queryRaw(HKEY hive, const char* name);
