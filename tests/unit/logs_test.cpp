// The application, debug, error and application error logs on disk: headers,
// INI switches, named logs, entry lines and each write member's failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/error.h"
#include "core/state.h"
#include "log_support.h"

using qx::String;
using namespace qxtest;

TEST(LogsAtInitialisation, KeysWrittenAsTrueAndEveryLogStartedWithOneHeader) {
    LogHost host(u"LogInitProbe");
    const double before = qx::nowLocal();
    withLibrary(host, qx::Demo, [&](qx::clsQXGenRtns& lib) {
        const double after = qx::nowLocal();
        // No INI file before: each key is read with the default "True", which is written back.
        EXPECT_EQ(fileBytes(host.ini()), "\r\n[LogInitProbe]\r\n\r\nLog=True\r\nDebug=True\r\nError=True\r\nTrace=True\r\n");
        for (const String ext : {u".log", u".dbg", u".err"}) {
            EXPECT_TRUE(stampedAs(fileBytes(host.log(ext)), "QX Log Co - Log Test Title - Version 2.5  Build 117  Demo - ",
                                  kHeaderEnd, before, after));
        }
        EXPECT_TRUE(stampedAs(fileBytes(host.trace()), "QX Log Co - Log Test Title - Version 2.5.117 - Trace  - ",
                              kHeaderEnd, before, after));
        // A second InitializeDll starts nothing afresh.
        lib.WriteLog(u"kept");
        lib.InitializeDll(qx::Variant(host.app), qx::Demo);
        EXPECT_NE(fileBytes(host.log(u".log")).find(" - kept\r\n"), std::string::npos);
    });
}

TEST(LogsAtInitialisation, OnlyTrueInAnyCaseEnablesALog) {
    LogHost host(u"LogKeysProbe");
    std::filesystem::create_directories(fsPath(host.local));
    std::ofstream(fsPath(host.ini()), std::ios::binary) << "[LogKeysProbe]\r\nLog=Yes\r\nDebug=TRUE\r\nError=1\r\n";
    withLibrary(host, qx::Beta, [&](qx::clsQXGenRtns& lib) {
        // A disabled log: InitLog answers "", writes write nothing and let no messages run.
        EXPECT_EQ(lib.InitLog(), u"");
        PumpCount pump;
        lib.WriteLog(u"nowhere");
        lib.WriteErrorLog(u"nowhere");
        EXPECT_EQ(pump.runs, 0);
        EXPECT_FALSE(fileThere(host.log(u".log")) || fileThere(host.log(u".err")));
        // Enabled again by the key, the log starts; disabled once more, it stops.
        lib.WriteIniString(u"LogKeysProbe", u"Log", u"tRuE", host.ini());
        EXPECT_EQ(lib.InitLog(), host.log(u".log"));
        lib.WriteIniString(u"LogKeysProbe", u"Log", u"no", host.ini());
        EXPECT_EQ(lib.InitLog(u"Other.log"), u"");
        lib.WriteLog(u"two");
        EXPECT_EQ(afterHeader(fileBytes(host.log(u".log"))), "") << "nothing more written";
    });
}

TEST(WriteLog, EntryIsTheTimeStampADashAndTheMessageAsGiven) {
    LogHost host(u"LogEntryProbe");
    withLibrary(host, qx::Beta, [&](qx::clsQXGenRtns& lib) {
        PumpCount pump;
        // Line breaks inside the message and characters beyond ASCII go out as given, in the narrow encoding;
        // the debug and error logs write the same line into their own files.
        const std::pair<String, std::function<void(const String&)>> logs[] = {
            {u".log", [&](const String& m) { lib.WriteLog(m); }},
            {u".dbg", [&](const String& m) { lib.WriteDebugLog(m); }},
            {u".err", [&](const String& m) { lib.WriteErrorLog(m); }}};
        for (const auto& [ext, write] : logs) {
            for (const String message : {u"Import started", u"", u"two\r\nlines \u00e9\u00df"}) {
                const std::size_t size = fileBytes(host.log(ext)).size();
                const double before = qx::nowLocal();
                write(message);
                EXPECT_TRUE(stampedAs(fileBytes(host.log(ext)).substr(size), "", " - " + qx::toNarrow(message) + "\r\n",
                                      before, qx::nowLocal()));
            }
        }
        EXPECT_EQ(pump.runs, 9) << "pending messages run once after each write";
        // The application error log writes nothing until a host's own means switch it on.
        qx::state().AppErrorLogPath = host.logFolder() + u"app.err";
        lib.WriteAppErrorLog(u"nothing");
        EXPECT_FALSE(fileThere(host.logFolder() + u"app.err"));
        qx::state().AppErrorLogEnabled = true;
        const double before = qx::nowLocal();
        lib.WriteAppErrorLog(u"app failure");
        EXPECT_TRUE(stampedAs(fileBytes(host.logFolder() + u"app.err"), "", " - app failure\r\n", before, qx::nowLocal()));
        EXPECT_EQ(pump.runs, 10);
    });
}

TEST(InitLog, UnderAGivenNameOrFailingWithTheFileErrorForWriteLogOnly) {
    LogHost host(u"LogNameProbe");
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        const std::string defaultLog = fileBytes(host.log(u".log"));
        const double before = qx::nowLocal();
        const String run1 = lib.InitLog(u"Run1.txt");
        EXPECT_EQ(run1, host.logFolder() + u"Run1.txt");
        EXPECT_TRUE(stampedAs(fileBytes(run1), "QX Log Co - Log Test Title - Version 2.5  Build 117 - ",
                              kHeaderEnd, before, qx::nowLocal()));
        lib.WriteLog(u"in Run1");
        EXPECT_EQ(fileBytes(host.log(u".log")), defaultLog);
        // Initialising a log again under its name empties it.
        lib.InitLog(u"Run1.txt");
        EXPECT_EQ(afterHeader(fileBytes(run1)), "");
        // A sub-folder that does not exist: the initialisation answers "" and the writes fail.
        const String missing = String(u"nosuch") + qx::files::separator() + u"Run.log";
        EXPECT_EQ(lib.InitLog(missing), u"");
        EXPECT_EQ(lib.InitDebugLog(missing), u"");
        EXPECT_EQ(lib.InitErrorLog(missing), u"");
        PumpCount pump;
        EXPECT_RAISES(qx::err::PathNotFound, lib.WriteLog(u"lost"));
        lib.WriteDebugLog(u"lost");
        lib.WriteErrorLog(u"lost");
        EXPECT_EQ(pump.runs, 0) << "no messages run after a failed write";
        // A folder standing where the file should be: the file cannot be opened (75).
        std::filesystem::create_directories(fsPath(host.logFolder() + u"AFolder"));
        EXPECT_EQ(lib.InitLog(u"AFolder"), u"");
        EXPECT_RAISES(qx::err::PathFileAccessError, lib.WriteLog(u"lost"));
    });
}

TEST(Logs, HostPropertyThatFailsLeavesEmptyFilesAndNoHostRaises91) {
    LogHost host(u"LogNoTitle");
    host.app = qx::MemoryObject::create(u"App")
                   ->prop(u"EXEName", u"LogNoTitle")
                   .prop(u"CompanyName", u"QX Log Co")
                   .shared_from_this();
    withLibrary(host, qx::Demo, [&](qx::clsQXGenRtns& lib) {
        EXPECT_EQ(fileBytes(host.trace()), "") << "the trace file is made, its header left out";
        EXPECT_EQ(lib.InitLog(), u"");
        lib.WriteLog(u"after");
        EXPECT_TRUE(stampedAs(fileBytes(host.log(u".log")), "", " - after\r\n", 0, 1e7));
    });
    runOnFreshThread([] { EXPECT_RAISES(qx::err::ObjectNotSet, qx::clsQXGenRtns().InitErrorLog(u"named.log")); });
}
