// The settings store against the real registry: lookup order, kinds, sizes and where writes go.
// Every case starts and ends without the library's key in either hive.
#include "settings_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "raw_registry.h"
#include "registry_fixture.h"

namespace {

constexpr uint32_t kDefaultRecordVolume = 128;
constexpr uint32_t kDeviceNameBytes = 260;
constexpr uint32_t kCallsignBytes = 32;
constexpr char kStringPreset[] = "default";
constexpr uint8_t kBinaryPreset = 0xEE;

std::string dwordBytes(uint32_t value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string guidBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(0x10 + i);
    return bytes;
}

std::string hex(const std::string& bytes) {
    std::string text;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { removeSettingsKey(); }
    void TearDown() override { removeSettingsKey(); }
};

enum class Kind { Dword, String, Binary };

struct Stored {
    HKEY hive;
    DWORD type;
    std::string bytes;
};

struct ReadCase {
    const char* label;
    std::vector<Stored> stored;  // empty: the key exists in neither hive
    Kind kind;
    uint32_t bufferSize;  // strings only
    bool found;
    // What the caller sees afterwards: the number, the terminated text, or the bytes in hex.
    std::string seen;
};

// What one read leaves in a buffer preset with the caller's default.
struct ReadOutcome {
    bool found;
    std::string seen;
    bool bufferUntouched;
};

ReadOutcome readPreset(Kind kind, const char* name, uint32_t bufferSize) {
    switch (kind) {
        case Kind::Dword: {
            uint32_t value = kDefaultRecordVolume;
            bool found = SettingsStore::readDword(name, &value);
            return {found, std::to_string(value), value == kDefaultRecordVolume};
        }
        case Kind::String: {
            std::vector<char> preset(bufferSize, '#');
            std::memcpy(preset.data(), kStringPreset, sizeof kStringPreset);
            std::vector<char> buffer = preset;
            bool found = SettingsStore::readString(name, buffer.data(), bufferSize);
            const void* end = std::memchr(buffer.data(), '\0', bufferSize);
            std::string seen = end != nullptr ? buffer.data() : "<unterminated>";
            return {found, seen, buffer == preset};
        }
        case Kind::Binary: {
            uint8_t value[kSettingsBinarySize];
            std::memset(value, kBinaryPreset, sizeof value);
            bool found = SettingsStore::readBinary(name, value);
            std::string bytes(reinterpret_cast<const char*>(value), sizeof value);
            return {found, hex(bytes),
                    bytes == std::string(kSettingsBinarySize, static_cast<char>(kBinaryPreset))};
        }
    }
    return {};
}

const std::string kLongName(300, 'n');
const std::string kFullName(kDeviceNameBytes, 'f');
const std::string kGuid = guidBytes(kSettingsBinarySize);

const std::vector<ReadCase>& readCases() {
    static const std::vector<ReadCase> cases = {
        {"machine value when the user has none",
         {{HKEY_LOCAL_MACHINE, REG_DWORD, dwordBytes(200)}},
         Kind::Dword,
         0,
         true,
         "200"},
        {"user value wins over the machine's",
         {{HKEY_LOCAL_MACHINE, REG_DWORD, dwordBytes(200)},
          {HKEY_CURRENT_USER, REG_DWORD, dwordBytes(50)}},
         Kind::Dword,
         0,
         true,
         "50"},
        {"zero is a value like any other",
         {{HKEY_CURRENT_USER, REG_DWORD, dwordBytes(0)}},
         Kind::Dword,
         0,
         true,
         "0"},
        {"string where a DWORD belongs counts as absent",
         {{HKEY_CURRENT_USER, REG_SZ, "200"}},
         Kind::Dword,
         0,
         false,
         "128"},
        {"user value of the wrong kind leaves the machine's",
         {{HKEY_CURRENT_USER, REG_SZ, "200"}, {HKEY_LOCAL_MACHINE, REG_DWORD, dwordBytes(99)}},
         Kind::Dword,
         0,
         true,
         "99"},
        {"binary where a DWORD belongs",
         {{HKEY_CURRENT_USER, REG_BINARY, dwordBytes(7)}},
         Kind::Dword,
         0,
         false,
         "128"},
        {"DWORD of two bytes",
         {{HKEY_CURRENT_USER, REG_DWORD, std::string("\x07\x00", 2)}},
         Kind::Dword,
         0,
         false,
         "128"},
        {"DWORD of eight bytes",
         {{HKEY_CURRENT_USER, REG_DWORD, dwordBytes(7) + dwordBytes(7)}},
         Kind::Dword,
         0,
         false,
         "128"},
        {"no key anywhere, DWORD", {}, Kind::Dword, 0, false, "128"},
        {"no key anywhere, string", {}, Kind::String, kDeviceNameBytes, false, kStringPreset},
        {"no key anywhere, binary",
         {},
         Kind::Binary,
         0,
         false,
         hex(std::string(kSettingsBinarySize, static_cast<char>(kBinaryPreset)))},
        {"three letters as stored, without terminator",
         {{HKEY_CURRENT_USER, REG_SZ, "abc"}},
         Kind::String,
         kCallsignBytes,
         true,
         "abc"},
        {"stored with a terminator by another writer",
         {{HKEY_CURRENT_USER, REG_SZ, std::string("Mic", 4)}},
         Kind::String,
         kDeviceNameBytes,
         true,
         "Mic"},
        {"empty string",
         {{HKEY_CURRENT_USER, REG_SZ, ""}},
         Kind::String,
         kDeviceNameBytes,
         true,
         ""},
        {"one byte short of the buffer",
         {{HKEY_CURRENT_USER, REG_SZ, kFullName.substr(0, kDeviceNameBytes - 1)}},
         Kind::String,
         kDeviceNameBytes,
         true,
         kFullName.substr(0, kDeviceNameBytes - 1)},
        {"filling the buffer exactly loses its last byte to the terminator",
         {{HKEY_CURRENT_USER, REG_SZ, kFullName}},
         Kind::String,
         kDeviceNameBytes,
         true,
         kFullName.substr(0, kDeviceNameBytes - 1)},
        {"300 characters do not fit 260 bytes",
         {{HKEY_CURRENT_USER, REG_SZ, kLongName}},
         Kind::String,
         kDeviceNameBytes,
         false,
         kStringPreset},
        {"user value too long leaves the machine's",
         {{HKEY_CURRENT_USER, REG_SZ, kLongName}, {HKEY_LOCAL_MACHINE, REG_SZ, "Line In"}},
         Kind::String,
         kDeviceNameBytes,
         true,
         "Line In"},
        {"DWORD where a string belongs",
         {{HKEY_CURRENT_USER, REG_DWORD, dwordBytes(7)}},
         Kind::String,
         kDeviceNameBytes,
         false,
         kStringPreset},
        {"sixteen bytes",
         {{HKEY_CURRENT_USER, REG_BINARY, kGuid}},
         Kind::Binary,
         0,
         true,
         hex(kGuid)},
        {"machine binary when the user has none",
         {{HKEY_LOCAL_MACHINE, REG_BINARY, kGuid}},
         Kind::Binary,
         0,
         true,
         hex(kGuid)},
        {"binary of eight bytes",
         {{HKEY_CURRENT_USER, REG_BINARY, guidBytes(8)}},
         Kind::Binary,
         0,
         false,
         hex(std::string(kSettingsBinarySize, static_cast<char>(kBinaryPreset)))},
        {"binary of twenty bytes",
         {{HKEY_CURRENT_USER, REG_BINARY, guidBytes(20)}},
         Kind::Binary,
         0,
         false,
         hex(std::string(kSettingsBinarySize, static_cast<char>(kBinaryPreset)))},
        {"string where a binary belongs",
         {{HKEY_CURRENT_USER, REG_SZ, kGuid}},
         Kind::Binary,
         0,
         false,
         hex(std::string(kSettingsBinarySize, static_cast<char>(kBinaryPreset)))},
    };
    return cases;
}

TEST_F(SettingsStoreTest, ReadsFollowLookupOrderKindAndSize) {
    const char* const name = kSettingRecordVolume;
    for (const ReadCase& c : readCases()) {
        SCOPED_TRACE(c.label);
        removeSettingsKey();
        for (const Stored& s : c.stored) storeRaw(s.hive, name, s.type, s.bytes);

        ReadOutcome outcome = readPreset(c.kind, name, c.bufferSize);

        EXPECT_EQ(outcome.found, c.found);
        EXPECT_EQ(outcome.seen, c.seen);
        EXPECT_TRUE(c.found || outcome.bufferUntouched) << "a failed read changed the default";
    }
}

TEST_F(SettingsStoreTest, KeyWithoutTheValueKeepsTheDefault) {
    storeRaw(HKEY_CURRENT_USER, kSettingWav, REG_DWORD, dwordBytes(0));
    storeRaw(HKEY_LOCAL_MACHINE, kSettingWav, REG_DWORD, dwordBytes(0));
    for (Kind kind : {Kind::Dword, Kind::String, Kind::Binary}) {
        ReadOutcome outcome = readPreset(kind, kSettingRecordDevice, kDeviceNameBytes);
        EXPECT_FALSE(outcome.found);
        EXPECT_TRUE(outcome.bufferUntouched);
    }
}

struct WriteStringCase {
    const char* label;
    std::string value;
};

// The count given to the registry is the string's length. Its ANSI entry point completes a
// missing terminator on its own, so the stored value may end in one NUL but holds nothing else.
std::string withoutRegistryTerminator(const std::string& bytes) {
    if (!bytes.empty() && bytes.back() == '\0') return bytes.substr(0, bytes.size() - 1);
    return bytes;
}

TEST_F(SettingsStoreTest, StringWriteStoresItsCharactersAndReadsBackTerminated) {
    const std::vector<WriteStringCase> cases = {
        {"three-letter callsign", "abc"},
        {"empty", ""},
        {"longer than any read buffer", kLongName},
    };
    for (const WriteStringCase& c : cases) {
        SCOPED_TRACE(c.label);
        removeSettingsKey();
        ASSERT_TRUE(SettingsStore::writeString(kSettingCallsign, c.value.c_str()));

        RawValue stored = queryRaw(HKEY_CURRENT_USER, kSettingCallsign);
        ASSERT_TRUE(stored.present);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(withoutRegistryTerminator(stored.bytes), c.value);
        EXPECT_FALSE(queryRaw(HKEY_LOCAL_MACHINE, kSettingCallsign).present);
    }

    removeSettingsKey();
    ASSERT_TRUE(SettingsStore::writeString(kSettingCallsign, "abc"));
    ReadOutcome outcome = readPreset(Kind::String, kSettingCallsign, kCallsignBytes);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.seen, "abc");
}

TEST_F(SettingsStoreTest, DwordWriteGoesToTheUserOnlyAndIsSeenAtOnce) {
    storeRaw(HKEY_LOCAL_MACHINE, kSettingRecordVolume, REG_DWORD, dwordBytes(7));
    uint32_t value = kDefaultRecordVolume;
    ASSERT_TRUE(SettingsStore::readDword(kSettingRecordVolume, &value));
    EXPECT_EQ(value, 7u);

    ASSERT_TRUE(SettingsStore::writeDword(kSettingRecordVolume, 200));
    ASSERT_TRUE(SettingsStore::readDword(kSettingRecordVolume, &value));
    EXPECT_EQ(value, 200u);
    ASSERT_TRUE(SettingsStore::writeDword(kSettingRecordVolume, 0xFFFFFFFF));
    ASSERT_TRUE(SettingsStore::readDword(kSettingRecordVolume, &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);

    RawValue user = queryRaw(HKEY_CURRENT_USER, kSettingRecordVolume);
    EXPECT_EQ(user.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(user.bytes, dwordBytes(0xFFFFFFFF));
    RawValue machine = queryRaw(HKEY_LOCAL_MACHINE, kSettingRecordVolume);
    EXPECT_EQ(machine.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(machine.bytes, dwordBytes(7));
}

TEST_F(SettingsStoreTest, WriteCreatesTheMissingKey) {
    ASSERT_FALSE(queryRaw(HKEY_CURRENT_USER, kSettingLowMips).present);
    ASSERT_TRUE(SettingsStore::writeDword(kSettingLowMips, 1));
    EXPECT_EQ(queryRaw(HKEY_CURRENT_USER, kSettingLowMips).bytes, dwordBytes(1));
    EXPECT_FALSE(queryRaw(HKEY_LOCAL_MACHINE, kSettingLowMips).present);
}

}  // namespace
