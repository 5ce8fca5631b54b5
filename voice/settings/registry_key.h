// Owns an open registry key and closes it when it goes out of scope.
#pragma once

#include <windows.h>

class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }

    bool openForReading(HKEY hive, const char* path) {
        return RegOpenKeyExA(hive, path, 0, KEY_READ, &key_) == ERROR_SUCCESS;
    }
    bool createForWriting(HKEY hive, const char* path) {
        return RegCreateKeyExA(hive, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                               &key_, nullptr) == ERROR_SUCCESS;
    }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};
