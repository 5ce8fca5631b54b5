// Every export resolves by name and by its fixed ordinal to the same function.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct ExportEntry {
    const char* name;
    int ordinal;
};

constexpr ExportEntry kExports[] = {
    {"Parlo_Init", 1},
    {"Parlo_Shutdown", 2},
    {"Parlo_CreatePipeline", 3},
    {"Parlo_DestroyPipeline", 4},
    {"Parlo_Receive", 5},
    {"Parlo_StartRecording", 6},
    {"Parlo_StopRecording", 7},
    {"Parlo_SetNetSendProc", 8},
    {"Parlo_GetNetSendProc", 9},
    {"Parlo_SetRecordFilterProc", 10},
    {"Parlo_GetRecordFilterProc", 11},
    {"Parlo_SetPlaybackFilterProc", 12},
    {"Parlo_GetPlaybackFilterProc", 13},
    {"Parlo_SetPlaybackFilterCProc", 14},
    {"Parlo_GetPlaybackFilterCProc", 15},
    {"Parlo_GetSoundBuffer", 16},
    {"Parlo_GetPlaybackDevice", 17},
    {"Parlo_GetLastError", 18},
    {"Parlo_Trace", 19},
    {"Parlo_SetVolume", 20},
    {"Parlo_GetVolume", 21},
    {"Parlo_SetPlayMikeClicks", 22},
    {"Parlo_GetPlayMikeClicks", 23},
    {"Parlo_Configure", 24},
    {"Parlo_MikeTest", 25},
};

class ParloModule : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryA("Parlo.dll");
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    FARPROC byOrdinal(int ordinal) const {
        return GetProcAddress(module_, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal)));
    }
    HMODULE module_ = nullptr;
};

TEST_F(ParloModule, EveryNameResolvesToItsOrdinal) {
    for (const ExportEntry& entry : kExports) {
        FARPROC named = GetProcAddress(module_, entry.name);
        EXPECT_NE(named, nullptr) << entry.name;
        EXPECT_EQ(named, byOrdinal(entry.ordinal)) << entry.name << " @" << entry.ordinal;
    }
}

TEST_F(ParloModule, NoOrdinalBeyondTheTable) { EXPECT_EQ(byOrdinal(26), nullptr); }

// The export directory holds exactly the 25 functions, with ordinals starting at 1.
TEST_F(ParloModule, ExportDirectoryHoldsExactlyTheTable) {
    auto* base = reinterpret_cast<const BYTE*>(module_);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, 25u);
    EXPECT_EQ(exports->NumberOfNames, 25u);
}

}  // namespace
