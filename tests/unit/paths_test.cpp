// The path routines: text helpers and fixed buffers, the Windows wildcard
// rules, folding, the long-name walk, the levels CreateFolders makes, and the
// routines on real files. Native and Windows test binaries.
#include "files/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>
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
    const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
        {u"*an*s", u"bananas", true}, {u"*a", u"bananas", false}, {u"a?c", u"a.c", false}, {u"*.*", u"README", true},
        // "?" at a dot or at the end matches nothing; a dot matches the end.
        {u"file?.txt", u"file.txt", true}, {u"file?.txt", u"file12.txt", false}, {u"a.*", u"a", true},
        {u"*.", u"a.txt", false}, {u"\u00C9t?.txt", u"\u00E9t\u00E9.TXT", true}};
    for (const auto& [pattern, name, match] : cases)
        EXPECT_EQ(files::matchesWildcard(pattern, name), match) << qx::toUtf8(pattern) << " ~ " << qx::toUtf8(name);
    EXPECT_FALSE(files::matchesWildcard(u"*a*a*a*a*a*a*a*a*a*a*b", String(200, u'a')));
}

TEST(FoldDotSegments, TextualFolding) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/a/./b/../c", u"/a/c"}, {u"/a/b/", u"/a/b/"}, {u"/a/b/..", u"/a"},   {u"/a/../../../c", u"/c"},
        {u"/..", u"/"},            {u"a//b", u"a/b"},    {u"a/../../b", u"../b"}, {u"a/..", u"."},
        {u"", u""},                {u"../../x/../y/", u"../../y/"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(files::foldDotSegments(in, u'/'), out) << qx::toUtf8(in);
}

TEST(LongNameWalk, FromTheRightUntilMissingOrTwoCharacters) {
    const std::map<String, String> names = {{u"C:\\PROGRA~1\\LONGFI~1.TXT", u"Long file.txt"},
                                            {u"C:\\PROGRA~1", u"Program Files"},
                                            {u"C:\\X~1\\ab\\F~1", u"File.txt"},
                                            {u"C:\\X~1\\ab", u"ab"},
                                            {u"C:\\X~1", u"Long folder"}};
    const auto find = [&](const String& f) { return names.count(f) ? names.at(f) : String(); };
    EXPECT_EQ(files::longNameWalk(u"C:\\PROGRA~1\\LONGFI~1.TXT", u'\\', find), u"C:\\Program Files\\Long file.txt");
    // A two-character name keeps everything left of it as given; so does a missing one.
    EXPECT_EQ(files::longNameWalk(u"C:\\X~1\\ab\\F~1", u'\\', find), u"C:\\X~1\\ab\\File.txt");
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
    EXPECT_EQ(win(u"\\\\?\\C:\\x\\"), (V{u"\\\\?\\C:\\x\\"}));  // a long-path prefix opens it like a share
    EXPECT_EQ(files::foldersToCreate(u"//tmp", u'/', false), (V{u"/tmp/"}));
}

TEST(PathRoutines, FileExistsCreateFoldersAndAbsolutePath) {
    TempFolder t("qx_names");
    t.write(u"App.ini");
    files::createFolders(t / u"a||  |b.dat|c");
    EXPECT_TRUE(qxtest::isFolder(t / u"a|b.dat|c"));
    EXPECT_TRUE(files::fileExists(t / u"A?p.*"));
    EXPECT_FALSE(files::fileExists(t / u"a"));  // a folder is no file
    EXPECT_FALSE(files::fileExists(t / u"a|*.dat"));
    EXPECT_FALSE(files::fileExists(u""));
    EXPECT_FALSE(files::fileExists(t / u"App.ini" + String(1, u'\0')));
    // A name ending in the separator looks for any file in that folder.
    EXPECT_TRUE(files::fileExists(t.str()));
    EXPECT_FALSE(files::fileExists(t / u"a|"));
    EXPECT_NO_THROW(files::createFolders(t / u"n" + String(1, u'\0') + p(u"m|")));
    EXPECT_FALSE(fs::exists(fs::path(t / u"n")));
    EXPECT_EQ(files::getAbsolutePath(p(u"a|.|b|..|c")), p(u"a|c"));
}
