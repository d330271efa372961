// The path routines: text helpers, the Windows wildcard rules, the folding of
// "." and "..", the fixed buffers, the long-name walk, the levels
// CreateFolders makes, and the routines on real files in a temporary folder.
// Compiled into the native and the Windows test binaries.
#include "files/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(PathText, HelpersAndBuffers) {
    EXPECT_FALSE(files::isAscii(0x20));
    EXPECT_TRUE(files::isAscii(0x21) && files::isAscii(0x7E));
    EXPECT_FALSE(files::isAscii(0x7F));
    EXPECT_EQ(files::fixPath(p(u"  C:|Data  ")), p(u"C:|Data|"));
    EXPECT_EQ(files::fixPath(p(u"C:|Data|")), p(u"C:|Data|"));
    EXPECT_EQ(files::fixPath(u"   "), u"");
    EXPECT_EQ(files::stripTerminator(String(u"abc\0xyz", 7)), u"abc");

    // A buffer the system filled: the text before the NUL; none within the buffer is too long.
    EXPECT_EQ(files::textBeforeNulOrRaise(String(u"C:\\x\0  ", 7)), u"C:\\x");
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::textBeforeNulOrRaise(u"    "));
    const String fits(files::kFullPathChars - 1, u'y');
    EXPECT_EQ(files::canonicalFromBuffer(fits + String(10, u'\0')), fits);
    EXPECT_EQ(files::canonicalFromBuffer(fits + u"z" + String(10, u'\0')), u"");
    EXPECT_EQ(files::canonicalFromBuffer(u""), u"");

    // A full path resolved as text: folded onto the current folder, bounded as the buffer is.
    EXPECT_EQ(files::fullPathFromFolder(u"../b/./c", u"/home/a", u'/'), u"/home/b/c");
    EXPECT_EQ(files::fullPathFromFolder(u"/x/../y", u"/home/a", u'/'), u"/y");
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::fullPathFromFolder(u"", u"/", u'/'));
    EXPECT_RAISES(qx::err::FileNotFound, files::fullPathFromFolder(String(u"a\0", 2), u"/", u'/'));
    const String deep = u"/" + String(200, u'a') + u"/" + String(52, u'b');
    EXPECT_EQ(files::fullPathFromFolder(deep, u"/", u'/'), deep) << "254 characters fit";
    EXPECT_RAISES(qx::err::InvalidProcedureCall, files::fullPathFromFolder(deep + u"c", u"/", u'/'));
}

TEST(Wildcard, WindowsRules) {
    struct Case {
        const char16_t* pattern;
        const char16_t* name;
        bool match;
    };
    const Case cases[] = {{u"a*", u"ba", false}, {u"*a", u"bananas", false}, {u"*an*s", u"bananas", true},
                          {u"a?c", u"ac", false}, {u"a?c", u"a.c", false}, {u"x.y", u"x.ys", false},
                          // "*.*" is every name; "*" before a dot stops at the last dot.
                          {u"*.*", u"README", true}, {u"*.ini", u"a.b.ini", true}, {u"*.ini", u"a.ini.bak", false},
                          // "?" at a dot or at the end matches nothing; a final dot matches the end.
                          {u"file?.txt", u"file.txt", true}, {u"file?.txt", u"file12.txt", false},
                          {u"a.*", u"a", true}, {u"*.", u"a.txt", false}, {u"name.", u"name", true},
                          {u"\u00C9t?.txt", u"\u00E9t\u00E9.TXT", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(files::matchesWildcard(c.pattern, c.name), c.match)
            << qx::toUtf8(c.pattern) << " ~ " << qx::toUtf8(c.name);
    }
    EXPECT_FALSE(files::matchesWildcard(u"*a*a*a*a*a*a*a*a*a*a*b", String(200, u'a')));
}

TEST(SearchDecisions, PatternAndAttributeFilter) {
    using namespace files::attr;
    EXPECT_EQ(files::searchPattern(u"C:\\Data\\", u'\\'), u"C:\\Data\\*");
    EXPECT_EQ(files::searchPattern(u"/data", u'/'), u"/data");
    EXPECT_TRUE(files::isPlainFileEntry(ReadOnly | Archive | 0x80));
    for (const std::uint32_t a : {Hidden, System, Directory, VolumeLabel}) EXPECT_FALSE(files::isPlainFileEntry(a)) << a;
    EXPECT_EQ(files::posixAttributes(u".profile", files::EntryKind::RegularFile, true), Hidden);
    EXPECT_EQ(files::posixAttributes(u".profile", files::EntryKind::RegularFile, false), 0u);
    EXPECT_EQ(files::posixAttributes(u"fifo", files::EntryKind::Other, false), System);
}

TEST(FoldDotSegments, TextualFolding) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/a/./b/../c", u"/a/c"}, {u"/a/b/", u"/a/b/"}, {u"/a/b/..", u"/a"},   {u"/a/../../../c", u"/c"},
        {u"/..", u"/"},            {u"a//b", u"a/b"},    {u"a/../../b", u"../b"}, {u"a/..", u"."},
        {u"", u""},                {u"../../x/../y/", u"../../y/"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(files::foldDotSegments(in, u'/'), out) << qx::toUtf8(in);
}

TEST(LongNameWalk, FromTheRightUntilMissingOrTwoCharacters) {
    const std::map<String, String> names = {{u"C:\\PROGRA~1\\LONGFI~1.TXT", u"Long file name.txt"},
                                            {u"C:\\PROGRA~1", u"Program Files"},
                                            {u"C:\\LONGFO~1\\ab\\X~1", u"Long file.txt"},
                                            {u"C:\\LONGFO~1\\ab", u"ab"}};
    std::vector<String> asked;
    const auto find = [&](const String& f) {
        asked.push_back(f);
        const auto it = names.find(f);
        return it == names.end() ? String() : it->second;
    };
    EXPECT_EQ(files::longNameWalk(u"C:\\PROGRA~1\\LONGFI~1.TXT", u'\\', find), u"C:\\Program Files\\Long file name.txt");
    EXPECT_EQ(asked, (std::vector<String>{u"C:\\PROGRA~1\\LONGFI~1.TXT", u"C:\\PROGRA~1", u"C:"}));
    // A two-character name keeps everything left of it as given; so does a missing one.
    EXPECT_EQ(files::longNameWalk(u"C:\\LONGFO~1\\ab\\X~1", u'\\', find), u"C:\\LONGFO~1\\ab\\Long file.txt");
    EXPECT_EQ(files::longNameWalk(u"C:\\PROGRA~1\\MISSING", u'\\', find), u"C:\\PROGRA~1\\MISSING");
    EXPECT_EQ(files::longNameWalk(u"/", u'/', find), u"/");
}

TEST(FoldersToCreate, LevelsRootsAndShares) {
    using V = std::vector<String>;
    const auto win = [](const char16_t* s) { return files::foldersToCreate(s, u'\\', true); };
    EXPECT_EQ(win(u"C:\\x\\\\  \\y"), (V{u"C:\\", u"C:\\x\\", u"C:\\x\\y\\"}));
    EXPECT_EQ(win(u"\\x\\y\\"), (V{u"\\x\\", u"\\x\\y\\"}));
    // A share opens the path and is never created itself.
    EXPECT_EQ(win(u"\\\\server\\share\\x\\"), (V{u"\\\\server\\share\\x\\"}));
    EXPECT_EQ(win(u"\\\\server"), V{});
    EXPECT_EQ(files::foldersToCreate(u"//tmp", u'/', false), (V{u"/tmp/"}));
}

// ---- on real files ----

TEST(FileExists, PlainFilesWildcardsAndFolders) {
    TempFolder t("qx_exists");
    t.write(u"App.ini");
    t.write(u"sub|inner.txt");
    fs::create_directories(fs::path(t / u"folder.dat"));
    EXPECT_TRUE(files::fileExists(t / u"App.ini"));
    EXPECT_FALSE(files::fileExists(t / u"sub"));
    EXPECT_FALSE(files::fileExists(u""));
    EXPECT_FALSE(files::fileExists(t / u"App.ini" + String(1, u'\0')));
    EXPECT_TRUE(files::fileExists(t / u"A?p.*"));
    EXPECT_FALSE(files::fileExists(t / u"*.dat"));  // a folder is no file
    // A name ending in the separator looks for any file in that folder.
    EXPECT_TRUE(files::fileExists(t / u"sub|"));
    EXPECT_FALSE(files::fileExists(t / u"folder.dat|"));
}

TEST(PathRoutines, CreateFoldersShortAndLongNames) {
    TempFolder t("qx_names");
    files::createFolders(t / u"a||  |b|c");
    EXPECT_TRUE(qxtest::isFolder(t / u"a|b|c"));
    t.write(u"plain");
    EXPECT_NO_THROW(files::createFolders(t / u"plain|q|"));
    EXPECT_NO_THROW(files::createFolders(t / u"n" + String(1, u'\0') + p(u"m|")));
    EXPECT_FALSE(fs::exists(fs::path(t / u"n")));

    const String folder = files::getLongName(t.path().u16string()) + p(u"|Long folder name");
    t.write(u"Long folder name|A long file name.txt");
    const String file = folder + p(u"|A long file name.txt");
    const String shortName = files::getShortName(file);
    ASSERT_NE(shortName, u"");
    EXPECT_EQ(files::getLongName(shortName), file);
    EXPECT_EQ(files::getShortName(t / u"missing.txt"), u"");
    EXPECT_EQ(files::getLongName(folder + p(u"|no such.txt")), folder + p(u"|no such.txt"));
    EXPECT_EQ(files::getAbsolutePath(p(u"a|.|b|..|c")), p(u"a|c"));
}
