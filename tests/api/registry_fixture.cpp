#include "registry_fixture.h"

namespace {
constexpr const char* kSettingsKey = "Software\\Calvera\\Ombrel";
}

void removeSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
}

void storeDword(HKEY hive, const char* name, uint32_t value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(hive, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}
