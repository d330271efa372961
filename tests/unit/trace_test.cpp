// The trace log: the outline that begin and end calls draw, the stack that
// never shrinks and the 16-bit limit of its top, the switch in the INI file,
// and the object InitTraceLog reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/error.h"
#include "log_support.h"

using qx::Variant;
using namespace qxtest;

namespace {
constexpr std::int16_t kBegin = qx::qxtBeginProcedureTrace;
constexpr std::int16_t kEnd = qx::qxtEndProcedureTrace;

std::string outline(const qx::String& file) { return afterHeader(fileBytes(file)); }

// Writes the trace lines of `calls`, each a routine name and a message type, in order.
void trace(qx::clsQXGenRtns& lib, std::initializer_list<std::pair<const char16_t*, std::int16_t>> calls) {
    for (const auto& [name, type] : calls) lib.WriteTraceLog(name, type);
}
}  // namespace

TEST(WriteTraceLog, OutlineOfNestedRecursiveAndUnmatchedCalls) {
    LogHost host(u"TraceNestProbe");
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        // One end clears both open entries of the name (matched without regard to case); the outer one, lowest
        // in the stack, sets the level. Any other type writes the indentation alone and changes nothing.
        trace(lib, {{u"A", kBegin}, {u"R", kBegin}, {u"R", kBegin}, {u"r", kEnd}, {u"R", kEnd}, {u"Never", kEnd},
                    {u"Ignored", 3}, {u"Ignored", 0}, {u"A", kEnd}});
        EXPECT_EQ(outline(host.trace()),
                  "\r\n\tStart A\r\n\r\n\t\tStart R\r\n\r\n\t\t\tStart R\r\n"
                  "\t\tEnd r\r\n\t\tEnd R\r\n\t\tEnd Never\r\n\t\t\r\n\t\t\r\n\tEnd A\r\n");
    });
}

TEST(WriteTraceLog, The32769thBeginEndsSilentlyWhileEndsGoOn) {
    LogHost host(u"TraceOverflowProbe");
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        // 32,768 begins fill the stack, which ends never shrink; an end every
        // 100 begins brings the indentation back so that the file stays small.
        for (int i = 0; i < 32768; ++i) {
            lib.WriteTraceLog(u"P", kBegin);
            if (i % 100 == 99) lib.WriteTraceLog(u"P", kEnd);
        }
        const std::string full = fileBytes(host.trace());
        std::size_t starts = 0;
        for (std::size_t at = full.find("Start P"); at != std::string::npos; at = full.find("Start P", at + 1)) ++starts;
        EXPECT_EQ(starts, 32768u);
        trace(lib, {{u"Q", kBegin}, {u"Q", kBegin}});
        EXPECT_EQ(fileBytes(host.trace()), full) << "nothing written";
        // End calls still clear, set the level and write; no Q entry is there to match.
        trace(lib, {{u"P", kEnd}, {u"Q", kEnd}});
        EXPECT_EQ(fileBytes(host.trace()), full + "\tEnd P\r\n\tEnd Q\r\n");
    });
}

TEST(WriteTraceLog, FailedWriteIsSilentAndTheNextLineMakesTheFileAnew) {
    LogHost host(u"TraceFailProbe");
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        std::filesystem::remove_all(fsPath(host.traceFolder()));
        lib.WriteTraceLog(u"Lost", kBegin);
        EXPECT_FALSE(fileThere(host.trace()));
        std::filesystem::create_directories(fsPath(host.traceFolder()));
        trace(lib, {{u"Next", kBegin}, {u"Lost", kEnd}});
        EXPECT_EQ(fileBytes(host.trace()), "\r\n\tStart Next\r\n\tEnd Lost\r\n") << "the failed begin is not indented";
    });
}

TEST(InitTraceLog, TheTraceKeySwitchesTracing) {
    LogHost host(u"TraceKeyProbe");
    std::filesystem::create_directories(fsPath(host.local));
    std::ofstream(fsPath(host.ini()), std::ios::binary) << "[TraceKeyProbe]\r\nTrace=False\r\n";
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        lib.WriteTraceLog(u"A", kBegin);
        EXPECT_FALSE(std::filesystem::exists(fsPath(host.traceFolder())));
        // Switched on by a call that fails past its INI read: the next line first initialises with the host object.
        lib.WriteIniString(u"TraceKeyProbe", u"Trace", u"TRUE", host.ini());
        EXPECT_RAISES(qx::err::TypeMismatch, lib.InitTraceLog(Variant(u"not an object")));
        lib.WriteTraceLog(u"A", kBegin);
        const std::string written = fileBytes(host.trace());
        EXPECT_EQ(afterHeader(written), "\r\n\tStart A\r\n");
        // Switched off again: nothing more is written.
        lib.WriteIniString(u"TraceKeyProbe", u"Trace", u"Yes", host.ini());
        lib.InitTraceLog(Variant(host.app));
        lib.WriteTraceLog(u"A", kEnd);
        EXPECT_EQ(fileBytes(host.trace()), written);
    });
}

TEST(InitTraceLog, ReadsTheObjectItIsGivenAndRaises438WithoutExeName) {
    LogHost host(u"TraceObjProbe");
    withLibrary(host, qx::Release, [&](qx::clsQXGenRtns& lib) {
        // Another object names the file and fills the header; the folder stays the host's.
        lib.InitTraceLog(Variant(qx::host::makeApp(u"OtherTrace", u"", u"Other Title", u"Other Co", 7, 8, -9)));
        const qx::String otherFile = host.traceFolder() + u"OtherTrace_Trace.log";
        EXPECT_EQ(fileBytes(otherFile).rfind("Other Co - Other Title - Version 7.8.-9 - Trace  - ", 0), 0u);
        // An object without ExeName: the stack is reset, then 438 is raised and the file kept.
        lib.WriteTraceLog(u"A", kBegin);
        EXPECT_RAISES(qx::err::MemberNotSupported, lib.InitTraceLog(Variant(qx::ObjectRef(qx::MemoryObject::create()))));
        lib.WriteTraceLog(u"B", kBegin);
        EXPECT_EQ(outline(otherFile), "\r\n\tStart A\r\n\r\n\tStart B\r\n");
    });
}
