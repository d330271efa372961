// The file access object on real files: opening, reading, writing, seeking
// and sizes past 4 GiB (sparse files), the share modes of the two opens, and
// the lines its misuse writes to the error log. Compiled into the native and
// the Windows test binaries.
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

// Sends the error log to a file of the test's folder, and turns it off again.
class ErrorLog {
public:
    explicit ErrorLog(const TempFolder& t) : path_(t / u"errors.log") {
        qx::state().ErrorLogEnabled = true;
        qx::state().ErrorLogPath = path_;
    }
    ~ErrorLog() {
        qx::state().ErrorLogEnabled = false;
        qx::state().ErrorLogPath.clear();
    }
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    // The messages written since the last call, without their time stamps.
    std::vector<std::string> take() {
        std::vector<std::string> out;
        std::ifstream in{fs::path(path_), std::ios::binary};
        std::stringstream all;
        all << in.rdbuf();
        const std::string text = all.str();
        std::size_t at = consumed_;
        while (at < text.size()) {
            const std::size_t end = text.find("\r\n", at);
            const std::size_t stop = end == std::string::npos ? text.size() : end;
            const std::string line = text.substr(at, stop - at);
            const std::size_t dash = line.find(" - ");
            out.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
            at = stop + 2;
        }
        consumed_ = text.size();
        return out;
    }

private:
    String path_;
    std::size_t consumed_ = 0;
};

std::string narrow(const String& s) { return qx::toNarrow(s); }

std::string contentOf(const String& path) {
    std::ifstream in{fs::path(path), std::ios::binary};
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

TEST(FileAccess, NewObjectOpenWriteSeekReadAndClose) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    EXPECT_EQ(f.FileHandle(), -1);
    EXPECT_EQ(f.Filename(), u"");
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.AutoFlush());

    const String name = t / u"data.bin";
    const std::int16_t h = f.OpenFile(name);  // a missing file is created
    EXPECT_GE(h, 0);
    EXPECT_EQ(f.FileHandle(), h);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Filename(), name);
    EXPECT_TRUE(fs::is_regular_file(fs::path(name)));
    EXPECT_EQ(f.FileSize(), 0.0);

    f.AutoFlush(true);
    f.WriteBytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    EXPECT_EQ(contentOf(name), "abcdefgh");  // written through to the file
    EXPECT_EQ(f.FileSize(), 8.0);

    f.SeekAbsolute(0, 2);
    EXPECT_EQ(f.ReadBytes(3), (Bytes{'c', 'd', 'e'}));
    f.SeekRelative(-4);
    EXPECT_EQ(f.ReadBytes(2), (Bytes{'b', 'c'}));
    // Ten bytes asked for four before the end: the rest are zeros.
    f.SeekAbsolute(0, 4);
    EXPECT_EQ(f.ReadBytes(10), (Bytes{'e', 'f', 'g', 'h', 0, 0, 0, 0, 0, 0}));
    // Writing at a position overwrites there.
    f.SeekAbsolute(0, 1);
    f.WriteBytes({'B'});
    f.Flush();
    EXPECT_EQ(contentOf(name), "aBcdefgh");

    f.CloseFile();
    EXPECT_EQ(f.FileHandle(), -1);
    EXPECT_EQ(f.Filename(), u"");
    EXPECT_FALSE(f.AutoFlush());
    f.CloseFile();  // closing twice logs nothing
    EXPECT_TRUE(log.take().empty());
}

TEST(FileAccess, ReadCountsBelowOneRaiseSubscriptOutOfRange) {
    TempFolder t("access");
    qx::clsFileAccess f;
    f.OpenFile(t / u"r.bin");
    EXPECT_RAISES(qx::err::SubscriptOutOfRange, f.ReadBytes(0));
    EXPECT_RAISES(qx::err::SubscriptOutOfRange, f.ReadBytes(-5));
    EXPECT_EQ(f.ReadBytes(1), Bytes{0});
}

TEST(FileAccess, ClosedObjectLogsAndPassesFailuresThrough) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    EXPECT_EQ(f.FileSize(), -1.0);
    EXPECT_EQ(log.take(), std::vector<std::string>{"Size can not be gotten on a closed file - "});
    EXPECT_EQ(f.ReadBytes(4), (Bytes{0, 0, 0, 0}));
    f.WriteBytes({1, 2});
    f.Flush();
    f.SeekAbsolute(0, 0);
    qx::FileDateTimeInfo times;
    EXPECT_EQ(f.ReturnFileTime(times), 0);
    EXPECT_EQ(f.ChangeFileTime(times), 0);
    EXPECT_TRUE(log.take().empty());  // the "already closed" reports write nothing
    EXPECT_FALSE(f.IsOpen());
}

TEST(FileAccess, FailedOpensLogTheNameAndKeepIt) {
    TempFolder t("access");
    ErrorLog log(t);
    qx::clsFileAccess f;
    const String missing = t / u"no folder|x.bin";
    EXPECT_EQ(f.OpenFile(missing), -1);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Filename(), missing);
    std::vector<std::string> lines = log.take();
    ASSERT_EQ(lines.size(), 1u);
    // "Error opening 'name'. - Error n - text" with the system's code and message.
    const std::string prefix = "Error opening '" + narrow(missing) + "'. - Error ";
    ASSERT_TRUE(startsWith(lines[0], prefix)) << lines[0];
    const std::string rest = lines[0].substr(prefix.size());
    const std::size_t dash = rest.find(" - ");
    ASSERT_NE(dash, std::string::npos) << lines[0];
    const std::uint32_t code = static_cast<std::uint32_t>(std::stoul(rest.substr(0, dash)));
    EXPECT_NE(code, 0u);
    EXPECT_EQ(rest.substr(dash + 3), narrow(qx::GetSystemErrorText(code)));
    EXPECT_EQ(rest.find('\r'), std::string::npos);

    EXPECT_EQ(f.OpenFileReadOnly(t / u"absent.bin"), -1);
    lines = log.take();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(startsWith(lines[0], "Error opening '" + narrow(t / u"absent.bin") + "'. - Error ")) << lines[0];
    EXPECT_FALSE(fs::exists(fs::path(t / u"absent.bin")));  // the read-only open creates nothing

    // A folder is no file.
    EXPECT_EQ(f.OpenFile(t.str()), -1);
    EXPECT_EQ(log.take().size(), 1u);
}

TEST(FileAccess, OpeningWhileOpenLogsClosesTheFirstAndOpensTheSecond) {
    TempFolder t("access");
    ErrorLog log(t);
    t.write(u"one.txt", "1111");
    t.write(u"two.txt", "2222");
    qx::clsFileAccess f;
    EXPECT_EQ(f.OpenFileReadOnly(t / u"one.txt"), 0);
    log.take();
    EXPECT_GE(f.OpenFile(t / u"two.txt"), 0);
    const std::vector<std::string> lines = log.take();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(startsWith(lines[0], "The file '" + narrow(t / u"one.txt") + "' is already open.")) << lines[0];
    EXPECT_EQ(f.Filename(), t / u"two.txt");
    EXPECT_EQ(f.ReadBytes(4), (Bytes{'2', '2', '2', '2'}));
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
    qx::clsFileAccess again;
    EXPECT_GE(again.OpenFile(name), 0);  // every handle is gone
}

TEST(FileAccess, SeekErrorsAreLoggedWithTheCodeTwice) {
    TempFolder t("access");
    ErrorLog log(t);
    t.write(u"s.bin", "0123456789");
    qx::clsFileAccess f;
    f.OpenFile(t / u"s.bin");
    f.SeekAbsolute(0, 3);
    f.SeekRelative(-10);  // before the start of the file
    // One entry, "Seek Error. - Error n." and, past a line end, n again.
    const std::vector<std::string> lines = log.take();
    ASSERT_EQ(lines.size(), 2u);
    const std::string& l = lines[0];
    ASSERT_TRUE(startsWith(l, "Seek Error. - Error ")) << l;
    ASSERT_EQ(l.back(), '.');
    const std::string code = l.substr(20, l.size() - 21);
    EXPECT_NE(code, "0");
    EXPECT_NE(std::stoul(code), 0u);
    EXPECT_EQ(lines[1], code);
    EXPECT_EQ(f.ReadBytes(1), Bytes{'3'});  // the position did not move
}

TEST(FileAccess, SizesAndPositionsPastFourGiB) {
    TempFolder t("access");
    const String name = t / u"sparse.bin";
    { std::ofstream(fs::path(name), std::ios::binary).put('S'); }
    fs::resize_file(fs::path(name), 3221225472ull);  // 3 GiB, sparse
    qx::clsFileAccess f;
    ASSERT_GE(f.OpenFile(name), 0);
    EXPECT_EQ(f.FileSize(), 3221225472.0);
    f.CloseFile();

    fs::resize_file(fs::path(name), 5368709120ull);  // 5 GiB
    ASSERT_GE(f.OpenFile(name), 0);
    EXPECT_EQ(f.FileSize(), 5368709120.0);
    // Position 4 GiB + 16: high half 1, low half 16.
    f.SeekAbsolute(1, 16);
    f.WriteBytes({7, 8, 9});
    f.SeekAbsolute(1, 15);
    EXPECT_EQ(f.ReadBytes(5), (Bytes{0, 7, 8, 9, 0}));
    // A low half with its top bit set counts as unsigned: 4 GiB + 2 GiB.
    f.SeekAbsolute(1, static_cast<std::int32_t>(0x80000000u));
    f.WriteBytes({0x5A});
    f.SeekRelative(-1);
    EXPECT_EQ(f.ReadBytes(1), Bytes{0x5A});
    f.CloseFile();

    std::ifstream in{fs::path(name), std::ios::binary};
    in.seekg(static_cast<std::streamoff>(4294967312ull));
    char got[3] = {};
    in.read(got, 3);
    EXPECT_EQ(std::string(got, 3), std::string("\x07\x08\x09", 3));
    in.seekg(static_cast<std::streamoff>(6442450944ull));
    EXPECT_EQ(in.get(), 0x5A);
}
