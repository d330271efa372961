// The file access object on real files: opening, reading, writing, seeking
// and sizes past 4 GiB (sparse files), the share modes of the two opens, and
// the lines its misuse writes to the error log. Compiled into the native and
// the Windows test binaries.
#include "files/clsFileAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    // The messages written since the last call, without their time stamps.
    std::vector<std::string> take() {
        std::vector<std::string> out;
        const std::string text = contentOf(path);
        for (std::size_t at = consumed, end = 0; at < text.size(); at = end + 2) {
            end = std::min(text.find("\r\n", at), text.size());
            const std::string line = text.substr(at, end - at);
            const std::size_t stamp = line.find(" - ");
            out.push_back(stamp == std::string::npos ? line : line.substr(stamp + 3));
        }
        consumed = text.size();
        return out;
    }
    String path;
    std::size_t consumed = 0;
};

}  // namespace

TEST(FileAccess, OpenWriteSeekReadAndClose) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    EXPECT_EQ(f.FileHandle(), -1);
    const String name = t / u"data.bin";
    const std::int16_t h = f.OpenFile(name);  // a missing file is created
    EXPECT_GE(h, 0);
    EXPECT_EQ(f.FileHandle(), h);
    EXPECT_EQ(f.Filename(), name);
    f.AutoFlush(true);
    f.WriteBytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    EXPECT_EQ(contentOf(name), "abcdefgh");  // written through to the file
    EXPECT_EQ(f.FileSize(), 8.0);
    f.SeekAbsolute(0, 2);
    f.SeekRelative(1);
    EXPECT_EQ(f.ReadBytes(2), (Bytes{'d', 'e'}));
    // Ten bytes asked for three before the end: the rest are zeros.
    EXPECT_EQ(f.ReadBytes(10), (Bytes{'f', 'g', 'h', 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_RAISES(qx::err::SubscriptOutOfRange, f.ReadBytes(0));
    f.SeekAbsolute(0, 1);
    f.AutoFlush(false);
    f.WriteBytes({'B'});
    f.Flush();
    EXPECT_EQ(contentOf(name), "aBcdefgh");

    f.CloseFile();
    EXPECT_EQ(f.FileHandle(), -1);
    EXPECT_EQ(f.Filename(), u"");
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
    std::vector<std::string> lines = log.take();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
    const std::size_t dash = lines[0].find(" - ", prefix.size());
    const auto code = static_cast<std::uint32_t>(std::stoul(lines[0].substr(prefix.size(), dash - prefix.size())));
    EXPECT_EQ(lines[0].substr(dash + 3), qx::toNarrow(qx::GetSystemErrorText(code)));

    EXPECT_EQ(f.OpenFileReadOnly(t / u"absent.bin"), -1);
    EXPECT_FALSE(fs::exists(fs::path(t / u"absent.bin")));  // the read-only open creates nothing
    EXPECT_EQ(f.OpenFile(t.str()), -1);  // a folder is no file
    EXPECT_EQ(log.take().size(), 2u);

    t.write(u"one.txt", "1111");
    EXPECT_EQ(f.OpenFileReadOnly(t / u"one.txt"), 0);
    EXPECT_GE(f.OpenFile(t / u"data.txt"), 0);
    lines = log.take();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("The file '" + qx::toNarrow(t / u"one.txt") + "' is already open.", 0), 0u) << lines[0];
    // The first file's read-only share is gone with its handle: it opens for writing again.
    qx::clsFileAccess other;
    EXPECT_GE(other.OpenFile(t / u"one.txt"), 0);
}

TEST(FileAccess, ShareModesOfTheTwoOpens) {
    TempFolder t("access");
    t.write(u"shared.bin", "abc");
    const String name = t / u"shared.bin";
    {
        qx::clsFileAccess a;
        qx::clsFileAccess b;
        EXPECT_GE(a.OpenFile(name), 0);
        EXPECT_GE(b.OpenFile(name), 0);  // read-write opens share reading and writing
        qx::clsFileAccess reader;
        EXPECT_EQ(reader.OpenFileReadOnly(name), -1);  // a read-only open refuses writers
    }
    {
        qx::clsFileAccess r1;
        qx::clsFileAccess r2;
        EXPECT_EQ(r1.OpenFileReadOnly(name), 0);
        EXPECT_EQ(r2.OpenFileReadOnly(name), 0);
        qx::clsFileAccess writer;
        EXPECT_EQ(writer.OpenFile(name), -1);
        r1.WriteBytes({'z'});  // a read-only handle writes nothing
    }
    EXPECT_EQ(contentOf(name), "abc");
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
    const std::string code = std::to_string(std::stoul(lines[1]));
    EXPECT_NE(code, "0");
    EXPECT_EQ(lines[0], "Seek Error. - Error " + code + ".");
    EXPECT_EQ(f.ReadBytes(1), Bytes{'3'});  // the position did not move

    fs::resize_file(fs::path(name), 5368709120ull);  // 5 GiB, sparse
    EXPECT_EQ(f.FileSize(), 5368709120.0);
    // Position 4 GiB + 16: high half 1, low half 16.
    f.SeekAbsolute(1, 16);
    f.WriteBytes({7, 8, 9});
    f.SeekAbsolute(1, 15);
    EXPECT_EQ(f.ReadBytes(5), (Bytes{0, 7, 8, 9, 0}));
    // A low half with its top bit set counts as unsigned: 4 GiB + 2 GiB.
    f.SeekAbsolute(1, static_cast<std::int32_t>(0x80000000u));
    f.WriteBytes({0x5A});
    f.CloseFile();
    std::ifstream in{fs::path(name), std::ios::binary};
    in.seekg(static_cast<std::streamoff>(6442450944ull));
    EXPECT_EQ(in.get(), 0x5A);
}
