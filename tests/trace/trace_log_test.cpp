// The trace log as a process sees it. Where lines go is chosen once per process, so ctest runs
// every case in a process of its own (see CMakeLists.txt); running this program without a filter
// does not work. Each case moves into a fresh folder before its first line, so the trace file
// it finds is its own.
#include "trace_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "test_window.h"
#include "trace_file.h"

namespace {

constexpr const char* kTraceFile = "OBTrace.txt";
constexpr const char* kViewerTitle = "DebugPrint";
constexpr int kCategories[] = {kTraceErrors, kTraceReceivedPackets, kTraceRecordedPackets,
                               kTraceBufferWrites, kTraceScheduling};
constexpr size_t kLongestLine = 159;

bool traceFileExists() { return GetFileAttributesA(kTraceFile) != INVALID_FILE_ATTRIBUTES; }

// Logs the lines numbered from..to-1 with the category and returns what they say.
std::vector<std::string> logLines(int category, int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i < to; ++i) {
        lines.push_back("category " + std::to_string(category) + " line " + std::to_string(i));
        TraceLog::log(category, "%s", lines.back().c_str());
    }
    return lines;
}

void append(std::vector<std::string>* to, const std::vector<std::string>& lines) {
    to->insert(to->end(), lines.begin(), lines.end());
}

// Cases that are not about the environment must not be steered by it.
class TraceCase : public ::testing::Test {
  protected:
    void SetUp() override { enterFreshDirectory(); }
};

using TraceWithoutEnvironment = TraceCase;

TEST_F(TraceWithoutEnvironment, NothingIsWrittenAndNoFileCreated) {
    ASSERT_EQ(std::getenv("PARLO_TRACE"), nullptr) << "the case must run with PARLO_TRACE unset";
    for (int category : kCategories) logLines(category, 0, 8);
    logLines(-1, 0, 8);
    EXPECT_FALSE(traceFileExists());
}

// PARLO_TRACE as ctest sets it, and TRACE_EXPECTED_MASK: the categories it must enable.
using TraceFromEnvironment = TraceCase;

TEST_F(TraceFromEnvironment, EnablesTheCategoriesOfItsNumber) {
    const char* expectedText = std::getenv("TRACE_EXPECTED_MASK");
    ASSERT_NE(expectedText, nullptr) << "the case needs TRACE_EXPECTED_MASK";
    const int expected = std::atoi(expectedText);

    std::vector<std::string> enabled;
    for (int category : kCategories) {
        std::vector<std::string> lines = logLines(category, 0, 4);
        if ((category & expected) != 0) append(&enabled, lines);
    }

    EXPECT_EQ(newTraceLines(), enabled);
    EXPECT_TRUE(expected != 0 || !traceFileExists()) << "no line enabled, yet a file was made";
}

using TraceExplicitMask = TraceCase;

TEST_F(TraceExplicitMask, SetBeforeTheFirstLineBeatsTheEnvironment) {
    TraceLog::setMask(kTraceReceivedPackets);  // PARLO_TRACE enables errors only
    logLines(kTraceErrors, 0, 4);
    std::vector<std::string> expected = logLines(kTraceReceivedPackets, 0, 4);
    EXPECT_EQ(newTraceLines(), expected);
}

TEST_F(TraceExplicitMask, ReplacesTheEnvironmentsMaskLater) {
    std::vector<std::string> expected = logLines(kTraceErrors, 0, 4);  // from PARLO_TRACE
    TraceLog::setMask(kTraceReceivedPackets);
    logLines(kTraceErrors, 4, 8);
    append(&expected, logLines(kTraceReceivedPackets, 0, 4));
    TraceLog::setMask(0);
    logLines(kTraceReceivedPackets, 4, 8);
    EXPECT_EQ(newTraceLines(), expected);
}

TEST_F(TraceExplicitMask, AnySharedBitEnablesALine) {
    TraceLog::setMask(kTraceErrors | kTraceScheduling);
    std::vector<std::string> expected;
    for (int category :
         {kTraceErrors | kTraceBufferWrites, kTraceScheduling | kTraceReceivedPackets})
        append(&expected, logLines(category, 0, 4));
    logLines(kTraceReceivedPackets | kTraceBufferWrites, 0, 4);
    EXPECT_EQ(newTraceLines(), expected);
}

using TraceGrouping = TraceCase;

TEST_F(TraceGrouping, LinesLeaveFourAtATimeInOrder) {
    TraceLog::setMask(kTraceErrors);
    std::vector<std::string> first = logLines(kTraceErrors, 0, 3);
    EXPECT_FALSE(traceFileExists()) << "three lines must wait in the buffer";
    append(&first, logLines(kTraceErrors, 3, 4));
    EXPECT_EQ(newTraceLines(), first);

    std::vector<std::string> second = logLines(kTraceErrors, 4, 7);
    EXPECT_TRUE(newTraceLines().empty());
    append(&second, logLines(kTraceErrors, 7, 8));
    EXPECT_EQ(newTraceLines(), second);
}

using TraceLineLength = TraceCase;

TEST_F(TraceLineLength, LongLinesAreCutAt159Characters) {
    TraceLog::setMask(kTraceErrors);
    std::vector<std::string> expected;
    for (size_t length : {size_t{1}, kLongestLine, kLongestLine + 1, size_t{300}}) {
        std::string message;
        for (size_t i = 0; i < length; ++i) message += static_cast<char>('a' + i % 26);
        TraceLog::log(kTraceErrors, "%s", message.c_str());
        expected.push_back(message.substr(0, kLongestLine));
    }
    EXPECT_EQ(newTraceLines(), expected);
}

using TraceViewer = TraceCase;

TEST_F(TraceViewer, ReceivesEachLineWithItsLengthAndTheFileIsNotCreated) {
    TestWindow viewer(kViewerTitle);
    TraceLog::setMask(kTraceErrors);

    std::vector<std::string> lines = logLines(kTraceErrors, 0, 3);
    EXPECT_TRUE(viewer.received().empty()) << "three lines must wait in the buffer";
    append(&lines, logLines(kTraceErrors, 3, 4));
    append(&lines, logLines(kTraceErrors, 4, 7));
    const std::string longLine(300, 'x');
    TraceLog::log(kTraceErrors, "%s", longLine.c_str());
    lines.push_back(longLine.substr(0, kLongestLine));

    std::vector<CopiedData> received = viewer.received();
    ASSERT_EQ(received.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(received[i].dwData, 0u);
        EXPECT_EQ(received[i].cbData, lines[i].size() + 1);
        EXPECT_EQ(received[i].bytes, lines[i] + '\0');
        EXPECT_EQ(received[i].wParam, 0u) << "this thread has no active window";
    }
    EXPECT_FALSE(traceFileExists());
}

TEST_F(TraceViewer, ExactTitleIsFoundBelowNearMisses) {
    TestWindow viewer(kViewerTitle);
    TestWindow longer("DebugPrintX");
    TestWindow otherCase("debugprint");
    TraceLog::setMask(kTraceErrors);

    logLines(kTraceErrors, 0, 4);

    EXPECT_EQ(viewer.received().size(), 4u);
    EXPECT_TRUE(longer.received().empty());
    EXPECT_TRUE(otherCase.received().empty());
    EXPECT_FALSE(traceFileExists());
}

TEST_F(TraceViewer, ClosedAfterTheChoiceLosesLinesAndTheFileIsNotUsed) {
    TestWindow viewer(kViewerTitle);
    TraceLog::setMask(kTraceErrors);
    logLines(kTraceErrors, 0, 4);
    viewer.close();

    logLines(kTraceErrors, 4, 12);

    EXPECT_EQ(viewer.received().size(), 4u);
    EXPECT_FALSE(traceFileExists());
}

TEST_F(TraceViewer, OpenedAfterTheChoiceIsNotTaken) {
    TraceLog::setMask(kTraceErrors);
    std::vector<std::string> expected = logLines(kTraceErrors, 0, 4);
    TestWindow viewer(kViewerTitle);

    append(&expected, logLines(kTraceErrors, 4, 8));

    EXPECT_TRUE(viewer.received().empty());
    EXPECT_EQ(newTraceLines(), expected);
}

class TraceNearMissTitle : public TraceCase, public ::testing::WithParamInterface<const char*> {};

TEST_P(TraceNearMissTitle, IsNotTakenForTheViewer) {
    TestWindow nearMiss(GetParam());
    TraceLog::setMask(kTraceErrors);

    std::vector<std::string> expected = logLines(kTraceErrors, 0, 4);

    EXPECT_TRUE(nearMiss.received().empty());
    EXPECT_EQ(newTraceLines(), expected);
}

struct NearMiss {
    const char* name;
    const char* title;
};
constexpr NearMiss kNearMisses[] = {
    {"Longer", "DebugPrintX"},
    {"OtherCase", "debugprint"},
    {"Shorter", "DebugPrin"},
    {"Blank", " DebugPrint"},
};

std::string nearMissName(const ::testing::TestParamInfo<const char*>& info) {
    return kNearMisses[info.index].name;
}

INSTANTIATE_TEST_SUITE_P(Titles, TraceNearMissTitle,
                         ::testing::Values(kNearMisses[0].title, kNearMisses[1].title,
                                           kNearMisses[2].title, kNearMisses[3].title),
                         nearMissName);

using TraceUnwritable = TraceCase;

// The trace file cannot be created where its name is taken by a folder.
TEST_F(TraceUnwritable, LinesAreDroppedWhenTheFileCannotBeCreated) {
    ASSERT_TRUE(CreateDirectoryA(kTraceFile, nullptr));
    TraceLog::setMask(kTraceErrors);
    logLines(kTraceErrors, 0, 8);

    // No second attempt, even once the file could be made.
    ASSERT_TRUE(RemoveDirectoryA(kTraceFile));
    logLines(kTraceErrors, 8, 16);
    EXPECT_FALSE(traceFileExists());
}

TEST_F(TraceUnwritable, LinesAreDroppedWhenTheCurrentFolderIsGone) {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string inner = std::string(folder) + "\\inner";
    const std::string moved = std::string(folder) + ".moved";
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(inner.c_str()));
    // The current folder itself cannot be removed while in use; moving its parent takes it away.
    if (!MoveFileA(folder, moved.c_str()))
        GTEST_SKIP() << "this system keeps the current folder's parent in place";

    TraceLog::setMask(kTraceErrors);
    logLines(kTraceErrors, 0, 8);

    ASSERT_TRUE(MoveFileA(moved.c_str(), folder));
    logLines(kTraceErrors, 8, 16);
    EXPECT_FALSE(traceFileExists());
}

using TraceThreads = TraceCase;

// PARLO_TRACE enables errors, so the first line of either thread initializes the trace.
TEST_F(TraceThreads, FirstLinesTogetherLoseNothingAndNeverInterleave) {
    constexpr int kThreads = 2;
    constexpr int kLinesEach = 400;
    const std::string padding(100, '.');
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            --waiting;
            while (waiting > 0) std::this_thread::yield();
            for (int i = 0; i < kLinesEach; ++i)
                TraceLog::log(kTraceErrors, "thread %d line %03d %s", t, i, padding.c_str());
        });
    }
    for (std::thread& thread : threads) thread.join();

    std::vector<std::string> lines = newTraceLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesEach));
    int next[kThreads] = {};
    for (const std::string& line : lines) {
        int thread = -1;
        int number = -1;
        char rest[128] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d %127s", &thread, &number, rest), 3)
            << line;
        ASSERT_TRUE(thread >= 0 && thread < kThreads) << line;
        EXPECT_EQ(number, next[thread]++) << "lines of one thread out of order";
        EXPECT_EQ(rest, padding) << line;
    }
}

using TraceViewerSearch = TraceCase;

// Looking for the viewer must not wait on the process's own windows: their threads may be
// waiting for the trace lock at that moment.
TEST_F(TraceViewerSearch, DoesNotWaitOnWindowsWhoseThreadWaitsForTheTrace) {
    TraceLog::setMask(kTraceErrors);
    std::atomic<bool> busyLogged{false};
    TestWindow busy("Busy");
    // Above the busy window: asked for its title first, it sends the busy thread into the trace.
    TestWindow asked("Asked", [&] {
        busy.post([&] {
            TraceLog::log(kTraceErrors, "from the busy thread");
            busyLogged = true;
        });
        Sleep(300);
    });

    logLines(kTraceErrors, 0, 3);
    std::promise<void> flushed;
    std::thread flusher([&] {
        logLines(kTraceErrors, 3, 4);
        flushed.set_value();
    });
    if (flushed.get_future().wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        // Threads stuck on the trace lock cannot be joined; end the process with the verdict.
        std::fprintf(stderr, "FAILED: the first hand-out hangs on a window of a waiting thread\n");
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 1);
    }
    flusher.join();
    busy.post([&] {
        TraceLog::log(kTraceErrors, "from the busy thread");
        busyLogged = true;
    });
    busy.close();
    asked.close();
    EXPECT_TRUE(busyLogged);
}

}  // namespace
