// Persistent settings: named registry values under one key, read from the current user's hive
// then the machine's, written to the current user's only. No cache: every call goes to the
// registry, so a value written by the wizard or the host is seen by the next read.
#pragma once

#include <cstdint>

constexpr const char* kSettingsKeyPath = "Software\\Calvera\\Ombrel";
constexpr uint32_t kSettingsBinarySize = 16;

// Value names; the reader of each brings its own default.
constexpr const char* kSettingRecvOnly = "recv_only";
constexpr const char* kSettingLowMips = "low_mips";
constexpr const char* kSettingMicClick = "mic_click";
constexpr const char* kSettingPlayVolume = "play_vol";
constexpr const char* kSettingRecordVolume = "rec_vol";
constexpr const char* kSettingDetectLevel = "detect_lvl";
constexpr const char* kSettingWav = "wav";
constexpr const char* kSettingRecordDevice = "record_device";
constexpr const char* kSettingPlaybackDevice = "playback_device";
constexpr const char* kSettingConnect = "connect";
constexpr const char* kSettingCallsign = "callsign";
constexpr const char* kSettingKeyPtt = "key_ptt";
constexpr const char* kSettingKeyAlt = "key_alt";
constexpr const char* kSettingRecordId = "record_id";
constexpr const char* kSettingRecordGuid = "record_guid";
constexpr const char* kSettingPlaybackGuid = "playback_guid";

class SettingsStore {
  public:
    // Each read fails, leaving the caller's preset default, when the value is missing, of
    // another kind or larger than the buffer.
    static bool readDword(const char* name, uint32_t* value);
    // The result is always terminated within size bytes.
    static bool readString(const char* name, char* buffer, uint32_t size);
    static bool readBinary(const char* name, uint8_t value[kSettingsBinarySize]);

    static bool writeDword(const char* name, uint32_t value);
    // Stored without a terminating NUL.
    static bool writeString(const char* name, const char* value);
};
