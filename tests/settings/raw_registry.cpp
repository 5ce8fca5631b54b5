#include "raw_registry.h"

namespace {
constexpr const char* kKeyPath = "Software\\Calvera\\Ombrel";
}

void storeRaw(HKEY hive, const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(hive, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    // The ANSI entry point adds a terminator to a string whose next byte is NUL; a guard byte
    // behind the data keeps the stored bytes exactly as given.
    std::string guarded = bytes + 'x';
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

RawValue queryRaw(HKEY hive, const char* name) {
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(hive, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.present =
            RegQueryValueExA(key, name, nullptr, &value.type,
                             reinterpret_cast<BYTE*>(value.bytes.data()), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    return value;
}
