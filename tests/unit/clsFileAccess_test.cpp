// The file access object on real files: reading, writing and seeking past
// 4 GiB, share modes, and its error log lines. Native and Windows binaries.
#include "files/clsFileAccess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::TempFolder;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string contentOf(const String& path) {
    std::ifstream in{fs::path(path), std::ios::binary};
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// Sends the error log to a file of the test's folder, and turns it off again.
struct ErrorLog {
    explicit ErrorLog(const TempFolder& t) : path(t / u"errors.log") {
        qx::state().ErrorLogEnabled = true;
        qx::state().ErrorLogPath = path;
    }
    ~ErrorLog() { qx::state().ErrorLogEnabled = false; }
    // The lines written since the last call, without their time stamps.
    std::vector<std::string> take() const {
        std::istringstream in(contentOf(path));
        fs::remove(fs::path(path));
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line, '\n');) {
            line.pop_back();  // the CR of the line end
            const std::size_t stamp = line.find(" - ");
            out.push_back(stamp == std::string::npos ? line : line.substr(stamp + 3));
        }
        return out;
    }
    String path;
};

}  // namespace

TEST(FileAccess, OpenWriteSeekReadAndClose) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    const String name = t / u"data.bin";
    ASSERT_GE(f.OpenFile(name), 0);  // a missing file is created
    f.WriteBytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    f.SeekAbsolute(0, 2);
    f.SeekRelative(1);
    EXPECT_EQ(f.ReadBytes(2), (Bytes{'d', 'e'}));
    // Ten bytes asked for three before the end: the rest are zeros.
    EXPECT_EQ(f.ReadBytes(10), (Bytes{'f', 'g', 'h', 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_RAISES(qx::err::SubscriptOutOfRange, f.ReadBytes(0));
    f.SeekAbsolute(0, 1);
    f.WriteBytes({'B'});
    EXPECT_EQ(contentOf(name), "aBcdefgh");
    f.CloseFile();
    EXPECT_EQ(f.FileHandle(), -1);
    f.CloseFile();  // closing twice logs nothing
    EXPECT_TRUE(log.take().empty());
    EXPECT_EQ(f.FileSize(), -1.0);
    EXPECT_EQ(log.take(), std::vector<std::string>{"Size can not be gotten on a closed file - "});
}

TEST(FileAccess, FailedAndRepeatedOpensAreLogged) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    const String missing = t / u"no folder|x.bin";
    EXPECT_EQ(f.OpenFile(missing), -1);
    EXPECT_EQ(f.Filename(), missing);
    // "Error opening 'name'. - Error n - text" with the system's code and message.
    const std::string prefix = "Error opening '" + qx::toNarrow(missing) + "'. - Error ";
    const std::string line = log.take().at(0);
    const std::size_t dash = line.find(" - ", prefix.size());
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    const auto code = static_cast<std::uint32_t>(std::stoul(line.substr(prefix.size())));
    EXPECT_EQ(line.substr(dash + 3), qx::toNarrow(qx::GetSystemErrorText(code)));
    EXPECT_EQ(f.OpenFileReadOnly(t / u"absent.bin"), -1);
    EXPECT_FALSE(fs::exists(fs::path(t / u"absent.bin")));  // the read-only open creates nothing
    EXPECT_EQ(f.OpenFile(t.str()), -1);  // a folder is no file
    EXPECT_EQ(log.take().size(), 2u);

    t.write(u"one.txt", "1111");
    EXPECT_EQ(f.OpenFileReadOnly(t / u"one.txt"), 0);
    EXPECT_GE(f.OpenFile(t / u"two.txt"), 0);
    EXPECT_EQ(log.take().at(0).rfind("The file '" + qx::toNarrow(t / u"one.txt") + "' is already open.", 0), 0u);
    qx::clsFileAccess writer;
    EXPECT_GE(writer.OpenFile(t / u"one.txt"), 0);  // the first file's read-only share went with its handle
}

TEST(FileAccess, ShareModesOfTheTwoOpens) {
    TempFolder t("access");
    t.write(u"shared.bin", "abc");
    const String name = t / u"shared.bin";
    qx::clsFileAccess a;
    qx::clsFileAccess b;
    qx::clsFileAccess other;
    EXPECT_GE(a.OpenFile(name), 0);
    EXPECT_GE(b.OpenFile(name), 0);  // read-write opens share reading and writing
    EXPECT_EQ(other.OpenFileReadOnly(name), -1);  // a read-only open refuses writers
    a.CloseFile();
    b.CloseFile();
    EXPECT_EQ(a.OpenFileReadOnly(name), 0);
    EXPECT_EQ(b.OpenFileReadOnly(name), 0);  // read-only opens share reading
    EXPECT_EQ(other.OpenFile(name), -1);  // and refuse writers
}

TEST(FileAccess, SeekErrorsAndPositionsPastFourGiB) {
    TempFolder t("access");
    ErrorLog log(t);
    const String name = t / u"sparse.bin";
    t.write(u"sparse.bin", "0123");
    qx::clsFileAccess f;
    ASSERT_GE(f.OpenFile(name), 0);
    f.SeekAbsolute(0, 3);
    f.SeekRelative(-10);  // before the start of the file
    // One entry, "Seek Error. - Error n." and, past a line end, n again.
    const std::vector<std::string> lines = log.take();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(std::stoul(lines[1]), 0u);
    EXPECT_EQ(lines[0], "Seek Error. - Error " + lines[1] + ".");
    EXPECT_EQ(f.ReadBytes(1), Bytes{'3'});  // the position did not move
    fs::resize_file(fs::path(name), 5368709120ull);  // 5 GiB, sparse
    EXPECT_EQ(f.FileSize(), 5368709120.0);
    // Position 4 GiB + 16: high half 1, low half 16.
    f.SeekAbsolute(1, 16);
    f.WriteBytes({7, 8, 9});
    f.SeekAbsolute(1, 15);
    EXPECT_EQ(f.ReadBytes(5), (Bytes{0, 7, 8, 9, 0}));
    // Low halves with their top bit set count as unsigned: 4 GiB + 2 GiB.
    f.SeekAbsolute(1, static_cast<std::int32_t>(0x80000000u));
    f.WriteBytes({0x5A});
    EXPECT_EQ(f.FileSize(), 6442450945.0);
}
