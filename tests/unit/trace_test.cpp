// The trace log: its header, the outline that begin and end calls draw, the
// stack that never shrinks, the 16-bit limit of its top, the switch in the
// INI file, and InitTraceLog as the library's first initialisation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/state.h"
#include "log_support.h"
#include "test_support.h"

using qx::String;
using qx::Variant;
using qxtest::fileBytes;
using qxtest::fileThere;
using qxtest::LogHost;
using qxtest::runOnFreshThread;
using qxtest::stampedAs;

namespace {

constexpr std::int16_t kBegin = qx::qxtBeginProcedureTrace;
constexpr std::int16_t kEnd = qx::qxtEndProcedureTrace;

const std::string kHeaderEnd = "\r\n\r\n\r\n";

// The trace lines after the header and its two empty lines.
std::string outline(const LogHost& host) {
    const std::string bytes = fileBytes(host.trace());
    const std::size_t end = bytes.find(kHeaderEnd);
    return end == std::string::npos ? std::string("<no header>") : bytes.substr(end + kHeaderEnd.size());
}

bool allCleared(const qx::LibraryState& st) {
    for (const auto& e : st.TraceStack)
        if (!e.RoutineName.empty() || e.Level != 0) return false;
    return true;
}

}  // namespace

TEST(WriteTraceLog, NestedCallsDrawAnIndentedOutline) {
    LogHost host(u"TraceNestProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        EXPECT_EQ(st.TraceTop, -1);
        EXPECT_EQ(st.TraceLevel, 1);
        ASSERT_EQ(st.TraceStack.size(), 1u);

        lib.WriteTraceLog(u"A", kBegin);
        lib.WriteTraceLog(u"B", kBegin);
        EXPECT_EQ(st.TraceTop, 1);
        EXPECT_EQ(st.TraceLevel, 3);
        EXPECT_EQ(st.TraceStack[1].RoutineName, u"B");
        EXPECT_EQ(st.TraceStack[1].Level, 2);
        lib.WriteTraceLog(u"B", kEnd);
        lib.WriteTraceLog(u"A", kEnd);
        EXPECT_EQ(outline(host), "\r\n\tStart A\r\n\r\n\t\tStart B\r\n\t\tEnd B\r\n\tEnd A\r\n");
        // Ended entries are cleared, never removed.
        EXPECT_EQ(st.TraceTop, 1);
        EXPECT_EQ(st.TraceStack.size(), 2u);
        EXPECT_TRUE(allCleared(st));
        EXPECT_EQ(st.TraceLevel, 1);

        // The next begin takes the next index.
        lib.WriteTraceLog(u"C", kBegin);
        EXPECT_EQ(st.TraceTop, 2);
        EXPECT_EQ(st.TraceStack.size(), 3u);
    });
}

TEST(WriteTraceLog, RecursionUnmatchedEndsAndOtherTypes) {
    LogHost host(u"TraceRecurseProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        lib.WriteTraceLog(u"A", kBegin);
        lib.WriteTraceLog(u"R", kBegin);
        lib.WriteTraceLog(u"R", kBegin);
        // One end clears both open entries of the name (matched without regard
        // to case); the outer one, lowest in the stack, sets the level.
        lib.WriteTraceLog(u"r", kEnd);
        EXPECT_EQ(st.TraceLevel, 2);
        EXPECT_TRUE(st.TraceStack[1].RoutineName.empty());
        EXPECT_TRUE(st.TraceStack[2].RoutineName.empty());
        EXPECT_EQ(st.TraceStack[0].RoutineName, u"A");
        // The second end finds nothing and writes at that level.
        lib.WriteTraceLog(u"R", kEnd);
        EXPECT_EQ(st.TraceLevel, 2);
        // An end without a begin keeps the level.
        lib.WriteTraceLog(u"Never", kEnd);
        // Any other type writes the indentation alone and changes nothing.
        const std::int16_t top = st.TraceTop;
        for (const std::int16_t other : {std::int16_t{3}, std::int16_t{0}, std::int16_t{-1}})
            lib.WriteTraceLog(u"Ignored", other);
        EXPECT_EQ(st.TraceTop, top);
        EXPECT_EQ(st.TraceLevel, 2);
        EXPECT_EQ(st.TraceStack.size(), 3u);
        lib.WriteTraceLog(u"A", kEnd);
        EXPECT_EQ(outline(host),
                  "\r\n\tStart A\r\n"
                  "\r\n\t\tStart R\r\n"
                  "\r\n\t\t\tStart R\r\n"
                  "\t\tEnd r\r\n"
                  "\t\tEnd R\r\n"
                  "\t\tEnd Never\r\n"
                  "\t\t\r\n\t\t\r\n\t\t\r\n"
                  "\tEnd A\r\n");
        EXPECT_EQ(st.TraceLevel, 1);
    });
}

TEST(WriteTraceLog, EmptyNameMatchesClearedEntriesAndTakesTheirLevelZero) {
    LogHost host(u"TraceEmptyProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        // The initial entry at index 0 is a cleared one.
        lib.WriteTraceLog(u"", kEnd);
        EXPECT_EQ(st.TraceLevel, 0);
        lib.WriteTraceLog(u"A", kBegin);  // reuses index 0, at level 0
        lib.WriteTraceLog(u"B", kBegin);
        lib.WriteTraceLog(u"B", kEnd);
        EXPECT_EQ(st.TraceLevel, 1);
        // Index 1 (B's, cleared) matches; index 0 holds A and does not.
        lib.WriteTraceLog(u"", kEnd);
        EXPECT_EQ(st.TraceLevel, 0);
        EXPECT_EQ(st.TraceStack[0].RoutineName, u"A");
        lib.WriteTraceLog(u"x", 3);
        lib.WriteTraceLog(u"A", kEnd);
        EXPECT_EQ(outline(host),
                  "End \r\n"
                  "\r\nStart A\r\n"
                  "\r\n\tStart B\r\n"
                  "\tEnd B\r\n"
                  "End \r\n"
                  "\r\n"
                  "End A\r\n");
    });
}

TEST(WriteTraceLog, The32769thBeginEndsSilentlyWhileEndsGoOn) {
    LogHost host(u"TraceOverflowProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        // 32,768 begins fill the indices 0 to 32,767; an end every 100 begins
        // brings the indentation back so that the file stays small.
        int ends = 0;
        for (int i = 0; i < 32768; ++i) {
            lib.WriteTraceLog(u"P", kBegin);
            if (i % 100 == 99) {
                lib.WriteTraceLog(u"P", kEnd);
                ++ends;
            }
        }
        ASSERT_EQ(st.TraceTop, 32767);
        ASSERT_EQ(st.TraceStack.size(), 32768u);
        const std::string full = fileBytes(host.trace());
        std::size_t starts = 0;
        for (std::size_t at = full.find("Start P"); at != std::string::npos; at = full.find("Start P", at + 1)) ++starts;
        EXPECT_EQ(starts, 32768u);

        const std::int16_t level = st.TraceLevel;
        lib.WriteTraceLog(u"Q", kBegin);
        lib.WriteTraceLog(u"Q", kBegin);
        EXPECT_EQ(st.TraceTop, 32767);
        EXPECT_EQ(st.TraceStack.size(), 32768u);
        EXPECT_EQ(st.TraceLevel, level);
        EXPECT_EQ(fileBytes(host.trace()), full) << "nothing written";
        for (const auto& e : st.TraceStack) ASSERT_NE(e.RoutineName, u"Q");

        // End calls still clear, set the level and write.
        lib.WriteTraceLog(u"P", kEnd);
        EXPECT_EQ(st.TraceLevel, 1);
        EXPECT_TRUE(allCleared(st));
        EXPECT_EQ(fileBytes(host.trace()), full + "\tEnd P\r\n");
        EXPECT_GT(ends, 300);
    });
}

TEST(WriteTraceLog, FailedWriteIsSilentKeepsTheEntryAndTheLevel) {
    LogHost host(u"TraceFailProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        std::filesystem::remove_all(qxtest::fsPath(host.traceFolder()));
        lib.WriteTraceLog(u"Lost", kBegin);
        EXPECT_EQ(st.TraceTop, 0);
        EXPECT_EQ(st.TraceStack[0].RoutineName, u"Lost");
        EXPECT_EQ(st.TraceStack[0].Level, 1);
        EXPECT_EQ(st.TraceLevel, 1) << "not raised after a failed begin";
        EXPECT_FALSE(fileThere(host.trace()));
        // Once the folder is back, the next line makes the file anew.
        std::filesystem::create_directories(qxtest::fsPath(host.traceFolder()));
        lib.WriteTraceLog(u"Lost", kEnd);
        EXPECT_EQ(fileBytes(host.trace()), "\tEnd Lost\r\n");
    });
}

TEST(InitTraceLog, TheTraceKeySwitchesTracingAndDisablingKeepsTheRest) {
    LogHost host(u"TraceKeyProbe");
    std::filesystem::create_directories(qxtest::fsPath(host.local));
    std::ofstream(qxtest::fsPath(host.ini()), std::ios::binary) << "[TraceKeyProbe]\r\nTrace=False\r\n";
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();
        EXPECT_FALSE(st.TraceEnabled);
        EXPECT_FALSE(st.TraceReady);
        EXPECT_FALSE(std::filesystem::exists(qxtest::fsPath(host.traceFolder())));
        lib.WriteTraceLog(u"A", kBegin);
        EXPECT_EQ(st.TraceTop, 0);
        EXPECT_EQ(st.TraceLevel, 0);
        EXPECT_TRUE(st.TraceStack.empty());
        EXPECT_FALSE(fileThere(host.trace()));

        lib.WriteIniString(u"TraceKeyProbe", u"Trace", u"TRUE", host.ini());
        lib.InitTraceLog(Variant(host.app));
        EXPECT_TRUE(st.TraceEnabled);
        EXPECT_TRUE(st.TraceReady);
        lib.WriteTraceLog(u"A", kBegin);
        const std::string traced = fileBytes(host.trace());
        EXPECT_EQ(outline(host), "\r\n\tStart A\r\n");

        // Switched off again: nothing is reset and nothing more is written.
        lib.WriteIniString(u"TraceKeyProbe", u"Trace", u"Yes", host.ini());
        lib.InitTraceLog(Variant(host.app));
        EXPECT_FALSE(st.TraceEnabled);
        EXPECT_TRUE(st.TraceReady);
        EXPECT_EQ(st.TraceTop, 0);
        EXPECT_EQ(st.TraceLevel, 2);
        lib.WriteTraceLog(u"A", kEnd);
        EXPECT_EQ(fileBytes(host.trace()), traced);
        EXPECT_EQ(st.TraceStack[0].RoutineName, u"A");
    });
}

TEST(InitTraceLog, BeforeInitializeDllItPerformsTheFirstInitialisation) {
    LogHost host(u"TraceFirstProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.VersionType(qx::Demo);
        const double before = qx::nowLocal();
        lib.InitTraceLog(Variant(host.app));
        const double after = qx::nowLocal();
        const qx::LibraryState& st = qx::state();
        EXPECT_TRUE(st.Initialized);
        EXPECT_EQ(st.HostApp, host.app);
        EXPECT_EQ(st.AppIniFile, host.ini());
        EXPECT_EQ(lib.VersionType(), qx::Demo) << "the current version type is the one stored";
        EXPECT_EQ(fileBytes(host.ini()), "\r\n[TraceFirstProbe]\r\n\r\nLog=True\r\nDebug=True\r\nError=True\r\nTrace=True\r\n");
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".log")),
                              "QX Log Co - Log Test Title - Version 2.5  Build 117  Demo - ", kHeaderEnd, before, after));
        EXPECT_TRUE(stampedAs(fileBytes(host.trace()), "QX Log Co - Log Test Title - Version 2.5.117 - Trace  - ",
                              kHeaderEnd, before, after));
        EXPECT_TRUE(st.TraceReady);
        EXPECT_EQ(lib.InitializeDll(Variant(u"ignored now"), 0), host.ini());
        lib.WriteTraceLog(u"Main", kBegin);
        EXPECT_EQ(outline(host), "\r\n\tStart Main\r\n");
    });
    // With no version type set, the initialisation stores Release.
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitTraceLog(Variant(host.app));
        EXPECT_EQ(lib.VersionType(), qx::Release);
    });
}

TEST(InitTraceLog, ReadsTheObjectItIsGivenAndRaisesItsFailures) {
    LogHost host(u"TraceObjProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        const qx::LibraryState& st = qx::state();

        // Another object names the file and fills the header; the folder stays the host's.
        auto other = qx::host::makeApp(u"OtherTrace", u"", u"Other Title", u"Other Co", 7, 8, -9);
        const double before = qx::nowLocal();
        lib.InitTraceLog(Variant(other));
        const double after = qx::nowLocal();
        const String otherFile = host.traceFolder() + u"OtherTrace_Trace.log";
        EXPECT_EQ(st.TracePath, otherFile);
        EXPECT_TRUE(stampedAs(fileBytes(otherFile), "Other Co - Other Title - Version 7.8.-9 - Trace  - ", kHeaderEnd,
                              before, after));
        EXPECT_EQ(st.AppIniFile, host.ini());
        EXPECT_EQ(st.HostApp, host.app);

        // An object without ExeName: the stack is reset, then 438 is raised and the path kept.
        lib.WriteTraceLog(u"A", kBegin);
        auto noExe = qx::MemoryObject::create(u"App");
        noExe->prop(u"Title", u"t");
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.InitTraceLog(Variant(qx::ObjectRef(noExe))));
        EXPECT_EQ(st.TraceTop, -1);
        EXPECT_EQ(st.TraceLevel, 1);
        EXPECT_EQ(st.TracePath, otherFile);
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitTraceLog(Variant(u"not an object")));
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitTraceLog(Variant::nothing()));

        // An object whose header cannot be read: the file is made empty and tracing is ready.
        auto noTitle = qx::MemoryObject::create(u"App");
        noTitle->prop(u"exename", u"NoTitle").prop(u"CompanyName", u"c");
        lib.InitTraceLog(Variant(qx::ObjectRef(noTitle)));
        EXPECT_EQ(fileBytes(host.traceFolder() + u"NoTitle_Trace.log"), "");
        EXPECT_TRUE(st.TraceReady);
        lib.WriteTraceLog(u"B", kBegin);
        EXPECT_EQ(fileBytes(host.traceFolder() + u"NoTitle_Trace.log"), "\r\n\tStart B\r\n");
    });
}

TEST(WriteTraceLog, NotReadyRunsInitTraceLogWithTheHostObjectFirst) {
    LogHost host(u"TraceReadyProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        qx::LibraryState& st = qx::state();
        lib.WriteTraceLog(u"Old", kBegin);
        st.TraceReady = false;  // as after an InitTraceLog that failed past its INI read
        st.TracePath = host.traceFolder() + u"elsewhere.log";
        lib.WriteTraceLog(u"New", kBegin);
        EXPECT_TRUE(st.TraceReady);
        EXPECT_EQ(st.TracePath, host.trace());
        EXPECT_EQ(outline(host), "\r\n\tStart New\r\n");
        EXPECT_EQ(st.TraceTop, 0);
        EXPECT_FALSE(fileThere(host.traceFolder() + u"elsewhere.log"));
    });
}
