// The library's life cycle and the argument guard, through the real DLL. The trace goes to the
// file of a fresh folder; lines leave the library in groups of four, so every case that checks
// its message runs four times.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "parlo.h"
#include "registry_fixture.h"
#include "trace_file.h"

namespace {

constexpr const char* kNotInitialized = "ERR: Parlo_init not called, or failed";
constexpr const char* kNullPipeline = "ERR: NULL passed to Parlo routine";
constexpr const char* kNotConfigured = "WARN: Ombrel needs to be configured";
constexpr const char* kInvalidStruct = "ERR: Parlo_CreatePipeline, invalid struct";

// Any non-NULL value: the guard does not look behind the pointer.
Pipeline* const kSomePipeline = reinterpret_cast<Pipeline*>(0x1000);

class TraceEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        enterFreshDirectory();
        Parlo_Trace(1);
    }
};
const auto* const kTraceEnvironment = ::testing::AddGlobalTestEnvironment(new TraceEnvironment);

// Runs the action four times and expects four copies of the message in the trace.
void expectTracedFourTimes(const std::function<void()>& action, const std::string& message) {
    for (int i = 0; i < 4; ++i) action();
    std::vector<std::string> lines = newTraceLines();
    ASSERT_EQ(lines.size(), 4u) << message;
    for (const std::string& line : lines) EXPECT_EQ(line, message);
}

struct GuardedExport {
    const char* name;
    // Calls the export with the pipeline and tells whether it returned its failure value.
    std::function<bool(Pipeline*)> callFails;
};

const std::vector<GuardedExport>& guardedExports() {
    static const std::vector<GuardedExport> exports = {
        {"DestroyPipeline",
         [](Pipeline* p) {
             Parlo_DestroyPipeline(p);
             return true;
         }},
        {"Receive",
         [](Pipeline* p) {
             VoicePacket packet = {};
             return Parlo_Receive(1, 2, &packet, PARLO_PACKET_BYTES, p) == 1;
         }},
        {"StartRecording",
         [](Pipeline* p) {
             Parlo_StartRecording(p, 1);
             return true;
         }},
        {"StopRecording",
         [](Pipeline* p) {
             Parlo_StopRecording(p);
             return true;
         }},
        {"SetNetSendProc",
         [](Pipeline* p) {
             Parlo_SetNetSendProc(p, nullptr, 0);
             return true;
         }},
        {"GetNetSendProc", [](Pipeline* p) { return Parlo_GetNetSendProc(p, nullptr) == nullptr; }},
        {"SetRecordFilterProc",
         [](Pipeline* p) {
             Parlo_SetRecordFilterProc(p, nullptr, 0);
             return true;
         }},
        {"GetRecordFilterProc",
         [](Pipeline* p) { return Parlo_GetRecordFilterProc(p, nullptr) == nullptr; }},
        {"SetPlaybackFilterProc",
         [](Pipeline* p) {
             Parlo_SetPlaybackFilterProc(p, nullptr, 0);
             return true;
         }},
        {"GetPlaybackFilterProc",
         [](Pipeline* p) { return Parlo_GetPlaybackFilterProc(p, nullptr) == nullptr; }},
        {"SetPlaybackFilterCProc",
         [](Pipeline* p) {
             Parlo_SetPlaybackFilterCProc(p, nullptr, 0);
             return true;
         }},
        {"GetPlaybackFilterCProc",
         [](Pipeline* p) { return Parlo_GetPlaybackFilterCProc(p, nullptr) == nullptr; }},
        {"GetSoundBuffer", [](Pipeline* p) { return Parlo_GetSoundBuffer(p) == nullptr; }},
        {"GetPlaybackDevice", [](Pipeline* p) { return Parlo_GetPlaybackDevice(p) == nullptr; }},
        {"SetVolume",
         [](Pipeline* p) {
             Parlo_SetVolume(p, PARLO_PLAYVOLUME, 40);
             return true;
         }},
        {"GetVolume", [](Pipeline* p) { return Parlo_GetVolume(p, PARLO_PLAYVOLUME) == 0; }},
        {"SetPlayMikeClicks",
         [](Pipeline* p) {
             Parlo_SetPlayMikeClicks(p, 1);
             return true;
         }},
        {"GetPlayMikeClicks", [](Pipeline* p) { return Parlo_GetPlayMikeClicks(p) == 0; }},
        {"MikeTest", [](Pipeline* p) { return Parlo_MikeTest(p, 1, 0) == 0; }},
    };
    return exports;
}

// Lines wait in the library until a group of four is full; emit guard failures until a group
// leaves, so that every test starts with an empty group.
void drainPendingTraceLines() {
    newTraceLines();
    for (int i = 0; i < 4; ++i) {
        Parlo_StopRecording(nullptr);
        if (!newTraceLines().empty()) return;
    }
}

class ExportsGuard : public ::testing::Test {
  protected:
    void SetUp() override {
        Parlo_Shutdown();
        removeSettingsKey();
        drainPendingTraceLines();
    }
    void TearDown() override { Parlo_Shutdown(); }
};

void expectEveryExportFailsWith(Pipeline* pipeline, int code, const char* message) {
    for (const GuardedExport& entry : guardedExports()) {
        SCOPED_TRACE(entry.name);
        expectTracedFourTimes([&] { EXPECT_TRUE(entry.callFails(pipeline)); }, message);
        EXPECT_EQ(Parlo_GetLastError(), code);
    }
}

TEST_F(ExportsGuard, BeforeInitEveryExportFailsWithCode2) {
    expectEveryExportFailsWith(kSomePipeline, PARLO_ERR_NOT_INITIALIZED, kNotInitialized);
}

TEST_F(ExportsGuard, AfterShutdownEveryExportFailsWithCode2) {
    storeDword(HKEY_CURRENT_USER, "recv_only", 0);
    ASSERT_EQ(Parlo_Init(), PARLO_OK);
    Parlo_Shutdown();
    EXPECT_EQ(Parlo_GetLastError(), PARLO_OK);
    expectEveryExportFailsWith(kSomePipeline, PARLO_ERR_NOT_INITIALIZED, kNotInitialized);
}

TEST_F(ExportsGuard, NullPipelineAfterInitFailsWithCode5) {
    storeDword(HKEY_CURRENT_USER, "recv_only", 0);
    ASSERT_EQ(Parlo_Init(), PARLO_OK);
    expectEveryExportFailsWith(nullptr, PARLO_ERR_NULL_PIPELINE, kNullPipeline);
}

TEST_F(ExportsGuard, NotInitializedWinsOverNullPipeline) {
    expectTracedFourTimes([] { Parlo_StopRecording(nullptr); }, kNotInitialized);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NOT_INITIALIZED);
}

TEST_F(ExportsGuard, GetLastErrorAndTraceNeedNoInit) {
    expectTracedFourTimes([] { Parlo_StopRecording(nullptr); }, kNotInitialized);
    Parlo_Trace(1);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NOT_INITIALIZED);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NOT_INITIALIZED) << "reading must not clear it";
}

class ExportsLifecycle : public ExportsGuard {};

TEST_F(ExportsLifecycle, UnconfiguredInitReturns3ThenSecondInitReturns0) {
    expectTracedFourTimes(
        [] {
            Parlo_Shutdown();
            EXPECT_EQ(Parlo_Init(), PARLO_ERR_NOT_CONFIGURED);
        },
        kNotConfigured);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NOT_CONFIGURED);
    EXPECT_EQ(Parlo_Init(), PARLO_OK);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NOT_CONFIGURED) << "a second init changes nothing";
    EXPECT_TRUE(newTraceLines().empty());
}

TEST_F(ExportsLifecycle, UnconfiguredLibraryIsStillInitialized) {
    EXPECT_EQ(Parlo_Init(), PARLO_ERR_NOT_CONFIGURED);
    Parlo_StopRecording(nullptr);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NULL_PIPELINE);
}

TEST_F(ExportsLifecycle, ReceiveOnlyValueMarksAConfiguredLibrary) {
    struct Case {
        HKEY hive;
        uint32_t value;
    };
    for (const Case& c :
         {Case{HKEY_CURRENT_USER, 0}, Case{HKEY_CURRENT_USER, 1}, Case{HKEY_LOCAL_MACHINE, 0}}) {
        removeSettingsKey();
        storeDword(c.hive, "recv_only", c.value);
        Parlo_Shutdown();
        EXPECT_EQ(Parlo_Init(), PARLO_OK) << c.value;
        EXPECT_EQ(Parlo_GetLastError(), PARLO_OK);
    }
}

TEST_F(ExportsLifecycle, ShutdownWithoutInitIsHarmless) {
    Parlo_Shutdown();
    Parlo_Shutdown();
    EXPECT_EQ(Parlo_GetLastError(), PARLO_OK);
    storeDword(HKEY_CURRENT_USER, "recv_only", 0);
    EXPECT_EQ(Parlo_Init(), PARLO_OK);
}

TEST_F(ExportsLifecycle, CreatePipelineRejectsShortOrMissingRecord) {
    PipelineConfig config = {};
    for (unsigned size : {0u, 16u, static_cast<unsigned>(sizeof(PipelineConfig)) - 1}) {
        config.size = size;
        expectTracedFourTimes([&] { EXPECT_EQ(Parlo_CreatePipeline(&config), nullptr); },
                              kInvalidStruct);
        EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_INVALID_STRUCT) << size;
    }
    expectTracedFourTimes([] { EXPECT_EQ(Parlo_CreatePipeline(nullptr), nullptr); },
                          kInvalidStruct);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_INVALID_STRUCT);
}

TEST_F(ExportsLifecycle, ConfigureBeforeInitInitializesTheLibrary) {
    storeDword(HKEY_CURRENT_USER, "recv_only", 0);
    EXPECT_EQ(Parlo_Configure(nullptr, nullptr), 0);
    Parlo_StopRecording(nullptr);
    EXPECT_EQ(Parlo_GetLastError(), PARLO_ERR_NULL_PIPELINE) << "initialized by Configure";
}

}  // namespace
