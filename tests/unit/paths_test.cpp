// The path routines: the character test, trimming and terminators, the
// Windows wildcard rules, the folding of "." and "..", the long-name walk,
// the levels CreateFolders makes, and the routines on real files in a
// temporary folder. Compiled into the native and the Windows test binaries.
#include "files/paths.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <map>
#include <vector>

#include "core/error.h"
#include "files/path_logic.h"
#include "files/wildcard.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::p;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

TEST(PathText, IsAsciiFixPathStripTerminator) {
    int accepted = 0;
    for (int b = 0; b <= 255; ++b) {
        EXPECT_EQ(files::isAscii(static_cast<std::uint8_t>(b)), b >= 0x21 && b <= 0x7E) << "byte " << b;
        accepted += files::isAscii(static_cast<std::uint8_t>(b)) ? 1 : 0;
    }
    EXPECT_EQ(accepted, 94);

    EXPECT_EQ(files::fixPath(p(u"  C:|Data  ")), p(u"C:|Data|"));
    EXPECT_EQ(files::fixPath(p(u"C:|Data|")), p(u"C:|Data|"));
    EXPECT_EQ(files::fixPath(u"   "), u"");
    EXPECT_EQ(files::fixPath(u"\tx"), p(u"\tx|"));  // only the space is trimmed

    EXPECT_EQ(files::stripTerminator(String(u"abc\0xyz", 7)), u"abc");
    EXPECT_EQ(files::stripTerminator(u"abc"), u"abc");
    EXPECT_EQ(files::stripTerminator(String(u"\0abc", 4)), u"");

    EXPECT_EQ(files::textBeforeNulOrRaise(String(u"C:\\x\0  ", 7)), u"C:\\x");
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::textBeforeNulOrRaise(u"    "));
}

TEST(Wildcard, WindowsRules) {
    struct Case {
        const char16_t* pattern;
        const char16_t* name;
        bool match;
    };
    const Case cases[] = {{u"*", u"any.txt", true},
                          {u"a*", u"a", true},
                          {u"a*", u"ba", false},
                          {u"*a", u"banana", true},
                          {u"*a", u"bananas", false},
                          {u"*an*s", u"bananas", true},
                          {u"?", u"a", true},
                          {u"?", u"ab", false},
                          {u"a?c", u"abc", true},
                          {u"a?c", u"ac", false},
                          {u"a?c", u"a.c", false},
                          {u"x.y", u"x.ys", false},
                          // "*.*" is every name; "*" before a dot stops at the last dot.
                          {u"*.*", u"README", true},
                          {u"*.ini", u"a.b.ini", true},
                          {u"*.ini", u".ini", true},
                          {u"*.ini", u"a.ini.bak", false},
                          {u"*.ini", u"ini", false},
                          {u"*.ini", u"a.inix", false},
                          // "?" at a dot or at the end matches nothing.
                          {u"file?.txt", u"file.txt", true},
                          {u"file?.txt", u"file12.txt", false},
                          {u"file??.txt", u"file.txt", true},
                          {u"*.tx?", u"a.tx", true},
                          {u"*.tx?", u"a.text", false},
                          // A dot before a wildcard or at the end also matches the end of the name.
                          {u"a.*", u"a", true},
                          {u"a.*", u"ab", false},
                          {u"*.", u"README", true},
                          {u"*.", u"a.txt", false},
                          {u"name.", u"name", true},
                          // Without regard to case.
                          {u"*.INI", u"app.ini", true},
                          {u"\u00C9t?.txt", u"\u00E9t\u00E9.TXT", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(files::matchesWildcard(c.pattern, c.name), c.match)
            << qx::toUtf8(c.pattern) << " ~ " << qx::toUtf8(c.name);
    }
    const String many(200, u'a');
    EXPECT_FALSE(files::matchesWildcard(u"*a*a*a*a*a*a*a*a*a*a*b", many));
    EXPECT_TRUE(files::matchesWildcard(u"*a*a*a*a*a*a*a*a*a*a*", many));
    EXPECT_TRUE(files::hasWildcards(u"a?b"));
    EXPECT_FALSE(files::hasWildcards(u"a.b"));
}

TEST(SearchDecisions, PatternAndAttributeFilter) {
    using namespace files::attr;
    EXPECT_EQ(files::searchPattern(u"C:\\Data\\", u'\\'), u"C:\\Data\\*");
    EXPECT_EQ(files::searchPattern(u"/data", u'/'), u"/data");
    EXPECT_EQ(files::searchPattern(u"C:\\Data\\", u'/'), u"C:\\Data\\");

    EXPECT_TRUE(files::isPlainFileEntry(0x80));  // FILE_ATTRIBUTE_NORMAL
    EXPECT_TRUE(files::isPlainFileEntry(ReadOnly | Archive));
    for (const std::uint32_t a : {Hidden, System | Archive, Directory, VolumeLabel, ReadOnly | Directory}) {
        EXPECT_FALSE(files::isPlainFileEntry(a)) << a;
    }
    EXPECT_EQ(files::posixAttributes(u"app.ini", files::EntryKind::RegularFile, true), 0u);
    EXPECT_EQ(files::posixAttributes(u".profile", files::EntryKind::RegularFile, true), Hidden);
    EXPECT_EQ(files::posixAttributes(u".profile", files::EntryKind::RegularFile, false), 0u);
    EXPECT_EQ(files::posixAttributes(u"..", files::EntryKind::Folder, true), Hidden | Directory);
    EXPECT_EQ(files::posixAttributes(u"fifo", files::EntryKind::Other, false), System);
}

TEST(FoldDotSegments, TextualFolding) {
    EXPECT_EQ(files::foldDotSegments(u"C:\\a\\.\\b\\..\\c", u'\\'), u"C:\\a\\c");
    const std::pair<const char16_t*, const char16_t*> cases[] = {{u"/a/./b/../c", u"/a/c"},
                                                                 {u"a/./b/../c", u"a/c"},
                                                                 {u"/a/b/", u"/a/b/"},
                                                                 {u"/a/b/..", u"/a"},
                                                                 {u"/a/b/.", u"/a/b"},
                                                                 {u"/a/../../../c", u"/c"},
                                                                 {u"/..", u"/"},
                                                                 {u"/", u"/"},
                                                                 {u"a//b", u"a/b"},
                                                                 {u"../a", u"../a"},
                                                                 {u"a/../../b", u"../b"},
                                                                 {u"a/..", u"."},
                                                                 {u"", u""},
                                                                 {u"../../x/../y/", u"../../y/"},
                                                                 {u"/.b/..c/...", u"/.b/..c/..."}};
    for (const auto& [in, out] : cases) EXPECT_EQ(files::foldDotSegments(in, u'/'), out) << qx::toUtf8(in);
}

namespace {
// Stored names by path for the long-name walk; every lookup is recorded.
struct FakeNames {
    std::map<String, String> names;
    std::vector<String> asked;
    String operator()(const String& f) {
        asked.push_back(f);
        const auto it = names.find(f);
        return it == names.end() ? String() : it->second;
    }
};
}  // namespace

TEST(LongNameWalk, FromTheRightUntilDriveMissingOrTwoCharacters) {
    FakeNames n;
    n.names = {{u"C:\\PROGRA~1\\LONGFI~1.TXT", u"Long file name.txt"},
               {u"C:\\PROGRA~1", u"Program Files"},
               {u"C:\\LONGFO~1\\ab\\LONGFI~1.TXT", u"Long file.txt"},
               {u"C:\\LONGFO~1\\ab", u"ab"},
               {u"C:\\LONGFO~1", u"Long folder"},
               {u"/home/user/notes.txt", u"notes.txt"},
               {u"/home/user", u"user"},
               {u"/home", u"home"}};
    auto find = std::ref(n);
    EXPECT_EQ(files::longNameWalk(u"C:\\PROGRA~1\\LONGFI~1.TXT", u'\\', find),
              u"C:\\Program Files\\Long file name.txt");
    EXPECT_EQ(n.asked, (std::vector<String>{u"C:\\PROGRA~1\\LONGFI~1.TXT", u"C:\\PROGRA~1", u"C:"}));
    // A two-character name keeps everything left of it as given.
    EXPECT_EQ(files::longNameWalk(u"C:\\LONGFO~1\\ab\\LONGFI~1.TXT", u'\\', find), u"C:\\LONGFO~1\\ab\\Long file.txt");
    n.asked.clear();
    EXPECT_EQ(files::longNameWalk(u"C:\\PROGRA~1\\MISSING.TXT", u'\\', find), u"C:\\PROGRA~1\\MISSING.TXT");
    EXPECT_EQ(n.asked.size(), 1u);
    EXPECT_EQ(files::longNameWalk(u"C:\\", u'\\', find), u"C:\\");
    n.asked.clear();
    EXPECT_EQ(files::longNameWalk(u"/home/user/notes.txt", u'/', find), u"/home/user/notes.txt");
    EXPECT_EQ(n.asked, (std::vector<String>{u"/home/user/notes.txt", u"/home/user", u"/home", u""}));
    EXPECT_EQ(files::longNameWalk(u"/", u'/', find), u"/");
}

TEST(FoldersToCreate, LevelsRootsAndShares) {
    using V = std::vector<String>;
    const auto win = [](const char16_t* s) { return files::foldersToCreate(s, u'\\', true); };
    EXPECT_EQ(win(u"C:\\x\\y\\"), (V{u"C:\\", u"C:\\x\\", u"C:\\x\\y\\"}));
    EXPECT_EQ(win(u"C:\\x\\\\  \\y"), (V{u"C:\\", u"C:\\x\\", u"C:\\x\\y\\"}));
    EXPECT_EQ(win(u"a\\ b \\"), (V{u"a\\", u"a\\ b \\"}));  // parts stay untrimmed
    EXPECT_EQ(win(u"  \\ \\"), V{});
    // One leading separator: from the root (on Windows the current drive's).
    EXPECT_EQ(win(u"\\x\\y\\"), (V{u"\\x\\", u"\\x\\y\\"}));
    // A share opens the path and is never created itself.
    EXPECT_EQ(win(u"\\\\server\\share\\x\\y\\"), (V{u"\\\\server\\share\\x\\", u"\\\\server\\share\\x\\y\\"}));
    EXPECT_EQ(win(u"\\\\server\\share\\"), V{});
    EXPECT_EQ(win(u"\\\\server"), V{});
    EXPECT_EQ(win(u"\\\\?\\C:\\x\\"), (V{u"\\\\?\\C:\\x\\"}));
    EXPECT_EQ(files::foldersToCreate(u"/tmp/a/", u'/', false), (V{u"/tmp/", u"/tmp/a/"}));
    EXPECT_EQ(files::foldersToCreate(u"//tmp", u'/', false), (V{u"/tmp/"}));
}

// ---- on real files ----

TEST(FileExists, PlainFilesWildcardsAndFolders) {
    TempFolder t("qx_exists");
    t.write(u"App.ini");
    t.write(u"sub|inner.txt");
    fs::create_directories(fs::path(t / u"folder.dat"));

    EXPECT_TRUE(files::fileExists(t / u"App.ini"));
    EXPECT_FALSE(files::fileExists(t / u"Missing.ini"));
    EXPECT_FALSE(files::fileExists(t / u"sub"));
    EXPECT_FALSE(files::fileExists(t / u"nowhere|App.ini"));
    EXPECT_FALSE(files::fileExists(u""));
    EXPECT_FALSE(files::fileExists(t / u"App.ini" + String(1, u'\0')));
    EXPECT_TRUE(files::fileExists(t / u"*.ini"));
    EXPECT_TRUE(files::fileExists(t / u"A?p.*"));
    EXPECT_FALSE(files::fileExists(t / u"*.txt"));  // only inside "sub"
    EXPECT_FALSE(files::fileExists(t / u"*.dat"));  // a folder is no file
    // A name ending in the separator looks for any file in that folder.
    EXPECT_TRUE(files::fileExists(t / u"sub|"));
    EXPECT_FALSE(files::fileExists(t / u"folder.dat|"));
}

TEST(CreateFolders, EveryLevelAndNothingReported) {
    TempFolder t("qx_create");
    files::createFolders(t / u"x|y|");
    EXPECT_TRUE(qxtest::isFolder(t / u"x|y"));
    EXPECT_NO_THROW(files::createFolders(t / u"x|y|"));

    files::createFolders(t / u"a||  |b|c");
    EXPECT_TRUE(qxtest::isFolder(t / u"a|b|c"));
    const auto entries = fs::directory_iterator(fs::path(t / u"a"));
    EXPECT_EQ(std::distance(fs::begin(entries), fs::end(entries)), 1);

    t.write(u"plain");
    EXPECT_NO_THROW(files::createFolders(t / u"plain|q|"));
    EXPECT_TRUE(fs::is_regular_file(fs::path(t / u"plain")));
    EXPECT_NO_THROW(files::createFolders(t / u"n" + String(1, u'\0') + p(u"m|")));
    EXPECT_FALSE(fs::exists(fs::path(t / u"n")));
}

TEST(ShortAndLongNames, RoundTripAndAbsolutePath) {
    TempFolder t("qx_names");
    const String folder = files::getLongName(t.path().u16string()) + p(u"|Long folder name");
    t.write(u"Long folder name|A long file name.txt");
    const String file = folder + p(u"|A long file name.txt");

    const String shortName = files::getShortName(file);
    ASSERT_NE(shortName, u"");
    EXPECT_LE(shortName.size(), file.size());
    EXPECT_EQ(files::getLongName(shortName), file);
    EXPECT_EQ(files::getShortName(t / u"missing.txt"), u"");
    EXPECT_EQ(files::getLongName(folder + p(u"|no such.txt")), folder + p(u"|no such.txt"));

    EXPECT_EQ(files::getAbsolutePath(p(u"|a|.|b|..|c")), p(u"|a|c"));
    EXPECT_EQ(files::getAbsolutePath(p(u"a|.|b|..|c")), p(u"a|c"));
    EXPECT_EQ(files::getAbsolutePath(p(u"|a|b|")), p(u"|a|b|"));
}
