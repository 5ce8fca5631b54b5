#include "settings_store.h"

#include <cstring>
#include <string>

#include "registry_key.h"

namespace {

// What a reader expects of a value; anything else counts as absent.
struct ValueShape {
    DWORD kind;
    DWORD capacity;  // bytes the caller can take
    bool fixedSize;  // DWORDs and GUIDs: a shorter value would mix stored bytes with the default
};

// Queries the value under one hive.
bool queryIn(HKEY hive, const char* name, const ValueShape& shape, void* buffer, DWORD* length) {
    RegistryKey key;
    if (!key.openForReading(hive, kSettingsKeyPath)) return false;
    DWORD kind = REG_NONE;
    *length = shape.capacity;
    LONG result =
        RegQueryValueExA(key.get(), name, nullptr, &kind, static_cast<BYTE*>(buffer), length);
    return result == ERROR_SUCCESS && kind == shape.kind &&
           (!shape.fixedSize || *length == shape.capacity);
}

// The user's own value wins; the machine's serves as the installation's default.
bool query(const char* name, const ValueShape& shape, void* buffer, DWORD* length) {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (queryIn(hive, name, shape, buffer, length)) return true;
    }
    return false;
}

bool write(const char* name, DWORD kind, const void* data, DWORD size) {
    RegistryKey key;
    if (!key.createForWriting(HKEY_CURRENT_USER, kSettingsKeyPath)) return false;
    return RegSetValueExA(key.get(), name, 0, kind, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

}  // namespace

bool SettingsStore::readDword(const char* name, uint32_t* value) {
    // Read through a copy: a failed query must not disturb the caller's default.
    uint32_t stored = 0;
    DWORD length = 0;
    if (!query(name, {REG_DWORD, sizeof stored, true}, &stored, &length)) return false;
    *value = stored;
    return true;
}

bool SettingsStore::readString(const char* name, char* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0) return false;
    // A query that does not fit may scribble on its buffer; the caller's default must survive.
    std::string stored(size, '\0');
    DWORD length = 0;
    if (!query(name, {REG_SZ, size, false}, stored.data(), &length)) return false;
    // Strings are stored without a terminator; a value that fills the buffer loses its last
    // byte to the terminator.
    uint32_t kept = length < size ? length : size - 1;
    std::memcpy(buffer, stored.data(), kept);
    buffer[kept] = '\0';
    return true;
}

bool SettingsStore::readBinary(const char* name, uint8_t value[kSettingsBinarySize]) {
    uint8_t stored[kSettingsBinarySize];
    DWORD length = 0;
    if (!query(name, {REG_BINARY, sizeof stored, true}, stored, &length)) return false;
    std::memcpy(value, stored, sizeof stored);
    return true;
}

bool SettingsStore::writeDword(const char* name, uint32_t value) {
    return write(name, REG_DWORD, &value, sizeof value);
}

bool SettingsStore::writeString(const char* name, const char* value) {
    if (value == nullptr) return false;
    return write(name, REG_SZ, value, static_cast<DWORD>(std::strlen(value)));
}
