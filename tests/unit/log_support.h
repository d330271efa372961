#pragma once
// Helpers of the log and trace tests: a host whose local data folder is
// cleared around the test, whole-file reads and checks of stamped lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/clsQXGenRtns.h"
#include "core/date.h"
#include "core/hostapp.h"
#include "core/screen.h"
#include "files/paths.h"
#include "sysinfo/clsSpecialFolders.h"
#include "sysinfo/special_folders.h"
#include "test_support.h"

namespace qxtest {

inline std::filesystem::path fsPath(const qx::String& s) { return std::filesystem::path(s); }
inline bool fileThere(const qx::String& path) { return std::filesystem::is_regular_file(fsPath(path)); }

inline std::string fileBytes(const qx::String& path) {
    std::ostringstream s;
    s << std::ifstream(fsPath(path), std::ios::binary).rdbuf();
    return s.str();
}

// A log's header line ends in two empty lines; what follows them.
inline const std::string kHeaderEnd = "\r\n\r\n\r\n";
inline std::string afterHeader(const std::string& bytes) {
    const std::size_t end = bytes.find(kHeaderEnd);
    return end == std::string::npos ? std::string("<no header>") : bytes.substr(end + kHeaderEnd.size());
}

// A host application object named `exe` of the company "QX Log Co" with the
// version 2.5.117, and its local data folder, which holds nothing when the
// test starts and is removed when it ends.
class LogHost {
public:
    explicit LogHost(const qx::String& exe)
        : app(qx::host::makeApp(exe, u"", u"Log Test Title", u"QX Log Co", 2, 5, 117)),
          local(qx::sysinfo::getSpecialFolders(app)->ApplicationDataFolderLocal()),
          exe_(exe) {
        clear();
    }
    ~LogHost() { clear(); }

    qx::String ini() const { return local + exe_ + u".ini"; }
    qx::String logFolder() const { return local + u"Log" + qx::files::separator(); }
    qx::String log(const qx::String& ext) const { return logFolder() + exe_ + ext; }
    qx::String traceFolder() const { return local + u"QXTools Log" + qx::files::separator(); }
    qx::String trace() const { return traceFolder() + exe_ + u"_Trace.log"; }

    qx::ObjectRef app;
    const qx::String local;

private:
    void clear() const {
        std::error_code ec;
        std::filesystem::remove_all(fsPath(local), ec);
    }
    const qx::String exe_;
};

// Runs `body` with a library object on a fresh thread whose library the host
// initialised with the version type `type`.
template <class F>
void withLibrary(const LogHost& host, std::int16_t type, F body) {
    runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        lib.InitializeDll(qx::Variant(host.app), type);
        body(lib);
    });
}

// Whether `bytes` is exactly `prefix`, a time stamp in the general date form
// (it reads back as the same text) between the two moments, then `suffix`.
inline ::testing::AssertionResult stampedAs(const std::string& bytes, const std::string& prefix,
                                            const std::string& suffix, double from, double to) {
    const std::size_t length = bytes.size() - prefix.size() - suffix.size();
    if (bytes.size() < prefix.size() + suffix.size() || bytes.compare(0, prefix.size(), prefix) != 0 ||
        bytes.compare(prefix.size() + length, suffix.size(), suffix) != 0) {
        return ::testing::AssertionFailure() << "'" << bytes << "' is not '" << prefix << "<date>" << suffix << "'";
    }
    const std::string text = bytes.substr(prefix.size(), length);
    double d = -1e9;
    try {
        d = qx::textToDate(qx::fromNarrow(text));
    } catch (...) {
    }
    if (qx::toNarrow(qx::dateToText(d)) != text || d < from - 0.5 / 86400 || d > to + 0.5 / 86400)
        return ::testing::AssertionFailure() << "'" << text << "' is no date of the general form within the call";
    return ::testing::AssertionSuccess();
}

// Counts the runs of the calling thread's message pump while it is installed.
struct PumpCount {
    PumpCount() {
        qx::setMessagePump([this] { ++runs; });
    }
    ~PumpCount() { qx::setMessagePump(nullptr); }
    int runs = 0;
};

// The multi-process append tests: entry i of process p carries its numbers,
// then a run of letters whose length varies, so that lines are of many sizes.
constexpr int kLogProcesses = 4;
constexpr int kLogEntries = 2500;
inline std::string logEntryText(int p, int i) {
    return "p" + std::to_string(p) + " e" + std::to_string(i) + " " +
           std::string(static_cast<std::size_t>((i * 37 + p * 11) % 700), static_cast<char>('a' + p));
}

// Checks a shared log written by those processes: three header lines, then
// every entry once and whole, each ended by CR LF.
inline void expectWholeEntries(const std::string& bytes) {
    std::set<std::pair<int, int>> seen;
    std::size_t at = 0;
    for (int header = 0; header < 3; ++header) at = bytes.find("\r\n", at) + 2;
    for (std::size_t end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        const std::string line = bytes.substr(at, end - at);
        int p = -1;
        int i = -1;
        const std::size_t dash = line.find(" - p");
        ASSERT_TRUE(end != std::string::npos && dash != std::string::npos &&
                    std::sscanf(line.c_str() + dash + 4, "%d e%d", &p, &i) == 2 &&
                    line.substr(dash + 3) == logEntryText(p, i))
            << "torn line: " << line.substr(0, 80);
        EXPECT_TRUE(seen.insert({p, i}).second) << "p" << p << " e" << i << " twice";
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kLogProcesses * kLogEntries));
}

}  // namespace qxtest
