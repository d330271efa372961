// The application, debug and error logs on disk: what the first
// initialisation writes, how the INI keys switch each log, initialising under
// a name of the host's, the entry lines, each write member's way of failing,
// and the application error log that nothing enables.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <system_error>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/state.h"
#include "ini/ini_engine.h"
#include "log_support.h"
#include "logging/log_file.h"
#include "test_support.h"

using qx::String;
using qx::Variant;
using qxtest::fileBytes;
using qxtest::fileThere;
using qxtest::LogHost;
using qxtest::runOnFreshThread;
using qxtest::stampedAs;

namespace {

const std::string kHeaderEnd = "\r\n\r\n\r\n";

std::string headerOf(const char* versionSuffix = "") {
    return std::string("QX Log Co - Log Test Title - Version 2.5  Build 117") + versionSuffix + " - ";
}

// What a log holds after its header: the bytes after the header's two empty lines.
std::string afterHeader(const std::string& bytes) {
    const std::size_t end = bytes.find(kHeaderEnd);
    return end == std::string::npos ? std::string("<no header>") : bytes.substr(end + kHeaderEnd.size());
}

}  // namespace

TEST(LogsAtInitialisation, KeysWrittenAsTrueAndEveryLogStartedWithOneHeader) {
    LogHost host(u"LogInitProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        const double before = qx::nowLocal();
        const String ini = lib.InitializeDll(Variant(host.app), qx::Demo);
        const double after = qx::nowLocal();
        ASSERT_EQ(ini, host.ini());
        // No INI file before: each key is read with the default "True", which is written back.
        EXPECT_EQ(fileBytes(ini), "\r\n[LogInitProbe]\r\n\r\nLog=True\r\nDebug=True\r\nError=True\r\nTrace=True\r\n");

        for (const String ext : {u".log", u".dbg", u".err"}) {
            EXPECT_TRUE(stampedAs(fileBytes(host.log(ext)), headerOf("  Demo"), kHeaderEnd, before, after))
                << qx::toUtf8(ext);
        }
        EXPECT_TRUE(stampedAs(fileBytes(host.trace()), "QX Log Co - Log Test Title - Version 2.5.117 - Trace  - ",
                              kHeaderEnd, before, after));

        const qx::LibraryState& st = qx::state();
        EXPECT_TRUE(st.LogEnabled);
        EXPECT_TRUE(st.DebugLogEnabled);
        EXPECT_TRUE(st.ErrorLogEnabled);
        EXPECT_EQ(st.LogPath, host.log(u".log"));
        EXPECT_EQ(st.DebugLogPath, host.log(u".dbg"));
        EXPECT_EQ(st.ErrorLogPath, host.log(u".err"));
        EXPECT_TRUE(st.TraceEnabled);
        EXPECT_TRUE(st.TraceReady);
        EXPECT_EQ(st.TracePath, host.trace());
        // The headers carry the version text, so GetVersion has run.
        EXPECT_EQ(lib.VersionTypeString(), u"Demo");

        // A second InitializeDll starts nothing afresh.
        lib.WriteLog(u"kept");
        const std::string withEntry = fileBytes(host.log(u".log"));
        EXPECT_EQ(lib.InitializeDll(Variant(host.app), qx::Demo), ini);
        EXPECT_EQ(fileBytes(host.log(u".log")), withEntry);
    });
    // The next start of the host (a new thread here) empties every log again.
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        const double before = qx::nowLocal();
        lib.InitializeDll(Variant(host.app), qx::Release);
        const double after = qx::nowLocal();
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".log")), headerOf(), kHeaderEnd, before, after));
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".err")), headerOf(), kHeaderEnd, before, after));
    });
}

TEST(LogsAtInitialisation, OnlyTrueInAnyCaseEnablesALog) {
    LogHost host(u"LogKeysProbe");
    std::filesystem::create_directories(qxtest::fsPath(host.local));
    std::ofstream(qxtest::fsPath(host.ini()), std::ios::binary)
        << "[LogKeysProbe]\r\nLog=Yes\r\nDebug=TRUE\r\nError=1\r\nTrace=tRuE\r\n";
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        EXPECT_FALSE(fileThere(host.log(u".log")));
        EXPECT_TRUE(fileThere(host.log(u".dbg")));
        EXPECT_FALSE(fileThere(host.log(u".err")));
        EXPECT_TRUE(fileThere(host.trace()));
        const qx::LibraryState& st = qx::state();
        EXPECT_FALSE(st.LogEnabled);
        EXPECT_TRUE(st.DebugLogEnabled);
        EXPECT_FALSE(st.ErrorLogEnabled);
        EXPECT_EQ(st.LogPath, u"");
        // The keys that were there stay as they were.
        EXPECT_EQ(lib.GetIniString(u"LogKeysProbe", u"Log", u"x", host.ini()), u"Yes");

        // A disabled log: InitLog answers "", writes write nothing and let no messages run.
        EXPECT_EQ(lib.InitLog(), u"");
        {
            qxtest::PumpCount pump;
            lib.WriteLog(u"nowhere");
            lib.WriteErrorLog(u"nowhere");
            EXPECT_EQ(pump.runs, 0);
        }
        EXPECT_FALSE(fileThere(host.log(u".log")));
        EXPECT_FALSE(fileThere(host.log(u".err")));

        // Enabled again by the key, the log starts; disabled once more, it stops and keeps its path.
        lib.WriteIniString(u"LogKeysProbe", u"Log", u"TRUE", host.ini());
        EXPECT_EQ(lib.InitLog(), host.log(u".log"));
        lib.WriteLog(u"one");
        const std::string written = fileBytes(host.log(u".log"));
        lib.WriteIniString(u"LogKeysProbe", u"Log", u"no", host.ini());
        EXPECT_EQ(lib.InitLog(u"Other.log"), u"");
        EXPECT_FALSE(st.LogEnabled);
        EXPECT_EQ(st.LogPath, host.log(u".log"));
        lib.WriteLog(u"two");
        EXPECT_EQ(fileBytes(host.log(u".log")), written);
        EXPECT_FALSE(fileThere(host.logFolder() + u"Other.log"));
    });
}

TEST(InitLog, UnderAGivenNameStartsThatFileAndLeavesThePreviousOne) {
    LogHost host(u"LogNameProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Release);
        lib.WriteLog(u"in the default log");
        const std::string defaultLog = fileBytes(host.log(u".log"));

        const double before = qx::nowLocal();
        const String run1 = lib.InitLog(u"Run1.txt");
        const double after = qx::nowLocal();
        EXPECT_EQ(run1, host.logFolder() + u"Run1.txt");
        EXPECT_EQ(qx::state().LogPath, run1);
        EXPECT_TRUE(stampedAs(fileBytes(run1), headerOf(), kHeaderEnd, before, after));
        lib.WriteLog(u"in Run1");
        EXPECT_NE(afterHeader(fileBytes(run1)).find(" - in Run1\r\n"), std::string::npos);
        EXPECT_EQ(fileBytes(host.log(u".log")), defaultLog);

        // A name with a folder in it is appended to the log folder all the same.
        std::filesystem::create_directories(qxtest::fsPath(host.logFolder() + u"sub"));
        const String nested = host.logFolder() + u"sub" + host.sep() + u"Run2.dbg";
        EXPECT_EQ(lib.InitDebugLog(u"sub" + host.sep() + u"Run2.dbg"), nested);
        lib.WriteDebugLog(u"nested");
        EXPECT_NE(afterHeader(fileBytes(nested)).find(" - nested\r\n"), std::string::npos);

        // Initialising a log again under its name empties it.
        const double again = qx::nowLocal();
        EXPECT_EQ(lib.InitLog(u"Run1.txt"), run1);
        EXPECT_TRUE(stampedAs(fileBytes(run1), headerOf(), kHeaderEnd, again, qx::nowLocal()));

        // The log folder is made again when it has gone.
        std::filesystem::remove_all(qxtest::fsPath(host.logFolder()));
        EXPECT_EQ(lib.InitErrorLog(u"Run3.err"), host.logFolder() + u"Run3.err");
        EXPECT_TRUE(fileThere(host.logFolder() + u"Run3.err"));
    });
}

TEST(WriteLog, EntryIsTheTimeStampADashAndTheMessageAsGiven) {
    LogHost host(u"LogEntryProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        const std::string header = fileBytes(host.log(u".log"));
        qxtest::PumpCount pump;

        double before = qx::nowLocal();
        lib.WriteLog(u"Import started");
        EXPECT_TRUE(stampedAs(afterHeader(fileBytes(host.log(u".log"))), "", " - Import started\r\n", before,
                              qx::nowLocal()));
        EXPECT_EQ(pump.runs, 1) << "pending messages run once after the write";

        const std::size_t size = fileBytes(host.log(u".log")).size();
        before = qx::nowLocal();
        lib.WriteLog(u"");
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".log")).substr(size), "", " - \r\n", before, qx::nowLocal()));

        // Line breaks inside the message and characters beyond ASCII go out as given, in the narrow encoding.
        const String odd = u"two\r\nlines \u00e9\u00df";
        const std::size_t size2 = fileBytes(host.log(u".log")).size();
        before = qx::nowLocal();
        lib.WriteLog(odd);
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".log")).substr(size2), "", " - " + qx::toNarrow(odd) + "\r\n",
                              before, qx::nowLocal()));
        EXPECT_EQ(fileBytes(host.log(u".log")).compare(0, header.size(), header), 0) << "the header stays";

        // The debug and error logs write the same line into their own files and let messages run too.
        before = qx::nowLocal();
        lib.WriteDebugLog(u"dbg entry");
        lib.WriteErrorLog(u"err entry");
        EXPECT_TRUE(stampedAs(afterHeader(fileBytes(host.log(u".dbg"))), "", " - dbg entry\r\n", before,
                              qx::nowLocal()));
        EXPECT_TRUE(stampedAs(afterHeader(fileBytes(host.log(u".err"))), "", " - err entry\r\n", before,
                              qx::nowLocal()));
        EXPECT_EQ(pump.runs, 5);
    });
}

TEST(WriteLog, FailuresRaiseTheFileErrorWhileDebugAndErrorLogsStaySilent) {
    LogHost host(u"LogFailProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        const qx::LibraryState& st = qx::state();
        const String missing = u"nosuch" + host.sep() + u"Run.log";

        // A sub-folder that does not exist: the initialisation answers "" and keeps the flag and path.
        EXPECT_EQ(lib.InitLog(missing), u"");
        EXPECT_TRUE(st.LogEnabled);
        EXPECT_EQ(st.LogPath, host.logFolder() + missing);
        EXPECT_EQ(lib.InitDebugLog(missing), u"");
        EXPECT_EQ(lib.InitErrorLog(missing), u"");
        EXPECT_EQ(st.ErrorLogPath, host.logFolder() + missing);
        {
            qxtest::PumpCount pump;
            EXPECT_RAISES(qx::err::PathNotFound, lib.WriteLog(u"lost"));
            lib.WriteDebugLog(u"lost");
            lib.WriteErrorLog(u"lost");
            EXPECT_EQ(pump.runs, 0) << "no messages run after a failed write";
        }
        EXPECT_FALSE(std::filesystem::exists(qxtest::fsPath(host.logFolder() + u"nosuch")));

        // A plain file standing where a folder should be: the path is not found either.
        EXPECT_EQ(lib.InitLog(u"Run1.txt"), host.logFolder() + u"Run1.txt");
        const String throughFile = u"Run1.txt" + host.sep() + u"x.log";
        EXPECT_EQ(lib.InitLog(throughFile), u"");
        EXPECT_RAISES(qx::err::PathNotFound, lib.WriteLog(u"lost"));

        // A folder standing where the file should be: the file cannot be opened (75).
        std::filesystem::create_directories(qxtest::fsPath(host.logFolder() + u"AFolder"));
        EXPECT_EQ(lib.InitLog(u"AFolder"), u"");
        EXPECT_RAISES(qx::err::PathFileAccessError, lib.WriteLog(u"lost"));
        EXPECT_EQ(lib.InitDebugLog(u"AFolder"), u"");
        lib.WriteDebugLog(u"lost");
    });
}

TEST(InitLog, HostPropertyThatFailsLeavesAnEmptyFileAndAnswersEmpty) {
    LogHost host(u"LogNoTitle");
    auto noTitle = qx::MemoryObject::create(u"App");
    noTitle->prop(u"EXEName", host.exe())
        .prop(u"CompanyName", u"QX Log Co")
        .prop(u"Major", std::int16_t{1})
        .prop(u"Minor", std::int16_t{0})
        .prop(u"Revision", std::int16_t{0});
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        // Nothing of this reaches InitializeDll.
        EXPECT_EQ(lib.InitializeDll(Variant(qx::ObjectRef(noTitle)), qx::Demo), host.ini());
        EXPECT_TRUE(fileThere(host.log(u".log")));
        EXPECT_EQ(fileBytes(host.log(u".log")), "");
        EXPECT_EQ(fileBytes(host.trace()), "") << "the trace file is made, its header left out";
        EXPECT_TRUE(qx::state().LogEnabled);
        EXPECT_TRUE(qx::state().TraceReady);
        // The title is read before the version text, so GetVersion never ran.
        EXPECT_EQ(lib.VersionTypeString(), u"");
        EXPECT_EQ(lib.InitLog(), u"");
        // Writes go on into the file.
        lib.WriteLog(u"after");
        EXPECT_NE(fileBytes(host.log(u".log")).find(" - after\r\n"), std::string::npos);
    });
}

TEST(Logs, BeforeInitialisationWritesDoNothingAndInitRaises91) {
    runOnFreshThread([] {
        qx::clsQXGenRtns lib;
        qxtest::PumpCount pump;
        lib.WriteLog(u"x");
        lib.WriteDebugLog(u"x");
        lib.WriteErrorLog(u"x");
        lib.WriteAppErrorLog(u"x");
        lib.WriteTraceLog(u"x", qx::qxtBeginProcedureTrace);
        EXPECT_EQ(pump.runs, 0);
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitLog());
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.InitErrorLog(u"named.log"));
        EXPECT_FALSE(qx::state().Initialized);
    });
}

TEST(WriteAppErrorLog, WritesNothingUnlessItsOwnSwitchIsOn) {
    LogHost host(u"LogAppErrProbe");
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(Variant(host.app), qx::Beta);
        auto listing = [&] {
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::recursive_directory_iterator(qxtest::fsPath(host.local)))
                names.push_back(e.path().string() + ":" + std::to_string(e.is_regular_file() ? e.file_size() : 0));
            std::sort(names.begin(), names.end());
            return names;
        };
        const auto beforeWrite = listing();
        qxtest::PumpCount pump;
        lib.WriteAppErrorLog(u"nothing");
        EXPECT_EQ(listing(), beforeWrite) << "no file written or grown";
        EXPECT_EQ(pump.runs, 0);
        EXPECT_FALSE(qx::state().AppErrorLogEnabled);
        EXPECT_EQ(qx::state().AppErrorLogPath, u"");

        // Switched on by a host's own means, it writes as WriteLog does.
        qx::state().AppErrorLogEnabled = true;
        qx::state().AppErrorLogPath = host.logFolder() + u"app.err";
        const double before = qx::nowLocal();
        lib.WriteAppErrorLog(u"app failure");
        EXPECT_TRUE(stampedAs(fileBytes(host.logFolder() + u"app.err"), "", " - app failure\r\n", before,
                              qx::nowLocal()));
        EXPECT_EQ(pump.runs, 1);
        qx::state().AppErrorLogPath = host.logFolder() + u"nosuch" + host.sep() + u"app.err";
        EXPECT_RAISES(qx::err::PathNotFound, lib.WriteAppErrorLog(u"lost"));
        EXPECT_EQ(pump.runs, 1);
    });
}

