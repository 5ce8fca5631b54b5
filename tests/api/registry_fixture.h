// Direct registry access for test set-up, independent of the library's own settings code.
#pragma once

#include <windows.h>

#include <cstdint>

// Removes the library's key under both hives, so a test starts unconfigured.
void removeSettingsKey();
void storeDword(HKEY hive, const char* name, uint32_t value);
