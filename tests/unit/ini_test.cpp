// The INI engine against real files: what each call returns and the exact
// bytes it leaves on disk.
#include <gtest/gtest.h>

#include "files/paths.h"
#include "ini/ini_engine.h"
#include "ini_support.h"
#include "test_support.h"

using qx::String;
using qxtest::readBytes;
using qxtest::writeBytes;
namespace ini = qx::ini;

namespace {

class IniTest : public ::testing::Test {
protected:
    qxtest::TempFolder dir;
    String file = dir.file("app.ini");
    std::filesystem::path path = dir.path("app.ini");

    std::string bytes() const { return readBytes(path); }
    void put(const std::string& b) const { writeBytes(path, b); }
};

// ---- lookup -----------------------------------------------------------------

TEST_F(IniTest, WorkedExampleFromNoFile) {
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"D", file), u"D");
    EXPECT_EQ(bytes(), "[S]\r\n\r\nK=D\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K2", u"E", file), u"E");
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nK=D\r\nK2=E\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"other", file), u"D");
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nK=D\r\nK2=E\r\n") << "a found key writes nothing";
}

TEST_F(IniTest, KeyMatchIsASubstringTestWithoutRegardToCase) {
    put("[Settings]\r\nUserName=Bob\r\nName = Al\r\n;Mode=quiet\r\n");
    EXPECT_EQ(ini::getIniString(u"settings", u"name", u"x", file), u"Bob");
    EXPECT_EQ(ini::getIniString(u"  SETTINGS ", u"mode", u"x", file), u"quiet") << "a ';' line is ordinary";
    EXPECT_EQ(ini::getIniString(u"Settings", u"Name ", u"x", file), u"Al") << "the key with its space matches 'Name ='";
}

TEST_F(IniTest, ValueIsTrimmedOfSpacesOnly) {
    put("[S]\r\nK=  a\tb  \r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"x", file), u"a\tb");
}

TEST_F(IniTest, FirstOfDuplicateSectionsWins) {
    put("[S]\r\nK=1\r\n[S]\r\nK=2\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"x", file), u"1");
}

TEST_F(IniTest, MissingKeyIsWrittenAfterTheSectionsEndLine) {
    put("[A]\r\nK=1\r\n\r\n[B]\r\nK=2\r\n");
    EXPECT_EQ(ini::getIniString(u"A", u"New", u"v", file), u"v");
    EXPECT_EQ(bytes(), "\r\n[A]\r\n\r\nK=1\r\nNew=v\r\n\r\n[B]\r\n\r\nK=2\r\n");
}

// ---- end of section ---------------------------------------------------------

TEST_F(IniTest, AnyBracketedLineEndsASectionButAValueEndingInBracketDoesNot) {
    put("[S]\r\nPath=[x]\r\nA=1\r\n  [not a header at all]  \r\nB=2\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"none", file), u"1");
    EXPECT_EQ(ini::getIniString(u"S", u"B", u"none", file), u"none") << "B lies beyond the bracketed line";
    // The save that wrote B puts it after A, and Path=[x] between empty lines.
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\n\r\nPath=[x]\r\n\r\nA=1\r\nB=none\r\n  [not a header at all]  \r\nB=2\r\n")
        << "a kept line gets empty lines around it only when its last character is ']'";
}

TEST_F(IniTest, LastSectionEndsAtLastNonEmptyLine) {
    put("[S]\r\nA=1\r\n   \r\n\r\n\r\n");
    ini::IniSectionInfo info;
    const ini::Lines lines = ini::splitLines(qx::fromUtf8(bytes()));
    ini::findIniSection(lines, info, u"S", false);
    ASSERT_TRUE(info.Found);
    EXPECT_EQ(info.StartLine, 0);
    EXPECT_EQ(info.EndLine, 2) << "a line of spaces counts as non-empty";
}

TEST_F(IniTest, HeaderOnLastLine) {
    put("A=1\r\n[S]");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"v", file), u"v");
    EXPECT_EQ(bytes(), "A=1\r\n\r\n[S]\r\n\r\nK=v\r\n");
}

// ---- layout on save ---------------------------------------------------------

TEST_F(IniTest, SaveDropsEmptyLinesAndSurroundsBracketLines) {
    put("top\r\n\r\n   \r\n[S]\r\nA=1\r\n\r\n\r\n[T]\r\nB=2\r\n");
    ini::writeIniString(u"T", u"B", u"3", file);
    EXPECT_EQ(bytes(), "top\r\n\r\n[S]\r\n\r\nA=1\r\n\r\n[T]\r\n\r\nB=3\r\n");
}

TEST_F(IniTest, VerbatimTextGetsTheLayoutOnlyAtTheNextSave) {
    ini::writeIniSection(u"S", u"a\r\n\r\nb]", file);
    EXPECT_EQ(bytes(), "[S]\r\n\r\na\r\n\r\nb]\r\n");
    ini::writeIniString(u"S", u"a", u"", file);  // no key line "a=": nothing changes but the layout
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\na\r\n\r\nb]\r\n\r\n");
}

TEST_F(IniTest, KeptLinesAreNotTrimmed) {
    put("[S]\r\n  K=1  \r\n");
    ini::writeIniString(u"S", u"X", u"2", file);
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\n  K=1  \r\nX=2\r\n");
}

// ---- empty values -----------------------------------------------------------

TEST_F(IniTest, WriteEmptyValueDeletesAnExistingKey) {
    put("[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"", file));
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nB=2\r\n");
}

TEST_F(IniTest, WriteEmptyValueForAnAbsentKeyOnlyRewrites) {
    put("[S]\r\nB=2\r\n");
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"", file));
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nB=2\r\n");
}

TEST_F(IniTest, WriteEmptyValueIntoAnAbsentSectionCreatesTheKeyLine) {
    put("[T]\r\nB=2\r\n");
    EXPECT_FALSE(ini::writeIniString(u"S", u"A", u"", file));
    EXPECT_EQ(bytes(), "\r\n[T]\r\n\r\nB=2\r\n[S]\r\n\r\nA=\r\n");
}

TEST_F(IniTest, SubstringKeyWriteReplacesTheWholeLine) {
    put("[S]\r\nUserName=Bob\r\n");
    ini::writeIniString(u"S", u"Name", u"Al", file);
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nName=Al\r\n");
}

TEST_F(IniTest, ReadingWithEmptyDefaultRemovesAnEmptyKeyLine) {
    put("[S]\r\nK=\r\nL=1\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"", file), u"");
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nL=1\r\n");
}

TEST_F(IniTest, EmptyValueReadsAsMissingAndStoresTheDefault) {
    put("[S]\r\nK=   \r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"True", file), u"True");
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nK=True\r\n");
}

// ---- sections and GetSection ------------------------------------------------

TEST_F(IniTest, WriteIniSectionReplacesOrAppends) {
    put("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    EXPECT_TRUE(ini::writeIniSection(u"A", u"n=9", file));
    EXPECT_EQ(bytes(), "\r\n[A]\r\n\r\nn=9\r\n\r\n[B]\r\n\r\nz=3\r\n");
    EXPECT_FALSE(ini::writeIniSection(u" C ", u"c=1", file));
    EXPECT_EQ(bytes(), "\r\n[A]\r\n\r\nn=9\r\n\r\n[B]\r\n\r\nz=3\r\n[ C ]\r\n\r\nc=1\r\n");
}

TEST_F(IniTest, GetIniSectionBodies) {
    put("[A]\r\n\r\na=1\r\n\r\nb=2\r\n\r\n[B]\r\nc=3\r\nd=4\r\n\r\n");
    String body = u"unchanged";
    EXPECT_TRUE(ini::getIniSection(u"A", body, file));
    EXPECT_EQ(body, u"a=1\r\n\r\nb=2\r\n") << "a section followed by another keeps its last CR LF";
    EXPECT_TRUE(ini::getIniSection(u"b", body, file));
    EXPECT_EQ(body, u"c=3\r\nd=4");
    body = u"unchanged";
    EXPECT_FALSE(ini::getIniSection(u"Missing", body, file));
    EXPECT_EQ(body, u"unchanged");
    put("[E]\r\n[F]\r\n");
    EXPECT_TRUE(ini::getIniSection(u"E", body, file));
    EXPECT_EQ(body, u"unchanged") << "an empty body leaves the argument alone";
}

TEST_F(IniTest, GetSectionElementCounts) {
    std::vector<String> lines{u"old"};
    put("[A]\r\na=1\r\nb=2\r\n");
    ini::getSection(u"A", file, lines);
    EXPECT_EQ(lines, (std::vector<String>{u"a=1", u"b=2"}));
    put("[A]\r\na=1\r\nb=2\r\n\r\n[B]\r\n");
    ini::getSection(u"A", file, lines);
    EXPECT_EQ(lines, (std::vector<String>{u"a=1", u"b=2", u""}));
    ini::getSection(u"Missing", file, lines);
    EXPECT_EQ(lines, (std::vector<String>{u"", u""}));
}

TEST_F(IniTest, GetSectionOfAnEmptyBodyGivesTwoEmptyStrings) {
    // The blank line after the header is skipped; the one left makes the body "".
    put("[E]\r\n\r\n\r\n[F]\r\n");
    String body = u"unchanged";
    EXPECT_TRUE(ini::getIniSection(u"E", body, file));
    EXPECT_EQ(body, u"");
    std::vector<String> lines{u"old"};
    ini::getSection(u"E", file, lines);
    EXPECT_EQ(lines, (std::vector<String>{u"", u""}));
}

TEST_F(IniTest, ReadsLeaveAFileWithoutChangesUnwritten) {
    put("[A]\r\n\r\na=1\r\n\r\n");
    String body;
    std::vector<String> lines;
    ini::getIniSection(u"A", body, file);
    ini::getSection(u"A", file, lines);
    EXPECT_EQ(bytes(), "[A]\r\n\r\na=1\r\n\r\n");
}

// ---- the alternate header ---------------------------------------------------

TEST_F(IniTest, AlternateHeaderIsAskedOnlyForAnEmptyResult) {
    put("[S <0009>]\r\nK=alt\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"", file), u"alt");
    // The first lookup wrote the empty default into a new [S] section.
    EXPECT_EQ(bytes(), "\r\n[S <0009>]\r\n\r\nK=alt\r\n[S]\r\n\r\nK=\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"dflt", file), u"dflt") << "a default is never empty: no second lookup";
}

// ---- bad input --------------------------------------------------------------

TEST_F(IniTest, TooManyLinesOverflows) {
    std::string big;
    for (int i = 0; i < 32768; ++i) big += "k" + std::to_string(i) + "=v\r\n";  // 32,769 lines with the last empty one
    put(big);
    EXPECT_RAISES(qx::err::Overflow, ini::getIniString(u"S", u"K", u"d", file));
    EXPECT_EQ(bytes(), big) << "nothing is written";
    big.resize(big.size() - 2);  // 32,768 lines: the most a file may have
    put(big);
    EXPECT_EQ(ini::getIniString(u"S", u"k5", u"d", file), u"d");
}

TEST_F(IniTest, MissingFolderMakesTheSaveANoOp) {
    const String missing = dir.file("no/such/folder.ini");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"D", missing), u"D");
    EXPECT_FALSE(ini::writeIniString(u"S", u"K", u"D", missing));
    EXPECT_FALSE(std::filesystem::exists(dir.path("no")));
}

TEST_F(IniTest, ReadOnlyFileIsLeftUnchanged) {
    put("[S]\r\nA=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", file));
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\n");
    EXPECT_EQ(ini::getIniString(u"S", u"B", u"x", file), u"x");
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST_F(IniTest, OddCharactersAreOrdinary) {
    const std::string bom = "\xEF\xBB\xBF";
    std::string odd = bom + "[S]\r\nlf=a\nb\r\ncr=a\rb\r\nnul=a";
    odd += '\0';
    odd += "b\r\nlong=" + std::string(100000, 'x') + "\r\n";
    put(odd);
    EXPECT_EQ(ini::getIniString(u"S", u"lf", u"d", file), u"d") << "the BOM belongs to the first line: no [S]";
    std::string plain = "[S]\r\nlf=a\nb\r\ncr=a\rb\r\nnul=a";
    plain += '\0';
    plain += "b\r\nlong=" + std::string(100000, 'x') + "\r\n";
    put(plain);
    EXPECT_EQ(ini::getIniString(u"S", u"lf", u"d", file), u"a\nb");
    EXPECT_EQ(ini::getIniString(u"S", u"cr", u"d", file), u"a\rb");
    EXPECT_EQ(ini::getIniString(u"S", u"nul", u"d", file), String(u"a\0b", 3));
    EXPECT_EQ(ini::getIniString(u"S", u"long", u"d", file).size(), 100000u);
    EXPECT_EQ(bytes(), plain) << "all found: nothing written";
}

TEST_F(IniTest, LfOnlyFileIsOneLineAndGetsASectionAppended) {
    put("[S]\nK=1\n");
    EXPECT_EQ(ini::getIniString(u"S", u"K", u"d", file), u"d");
    EXPECT_EQ(bytes(), "[S]\nK=1\n\r\n[S]\r\n\r\nK=d\r\n");
}

TEST_F(IniTest, SaveLeavesNoTemporaryFileBehind) {
    put("[S]\r\nA=1\r\n");
    for (int i = 0; i < 5; ++i) ini::writeIniString(u"S", u"A", qx::toDecimal(i), file);
    EXPECT_EQ(bytes(), "\r\n[S]\r\n\r\nA=4\r\n");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(path.parent_path())) {
        ++entries;
        EXPECT_EQ(e.path().filename(), "app.ini");
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(IniTest, NameWithANulNamesNoFileAndTouchesNone) {
    put("[S]\r\nA=1\r\n");
    const String withNul = file + String(1, u'\0') + u"x";
    EXPECT_EQ(ini::getIniString(u"S", u"A", u"d", withNul), u"d");
    EXPECT_FALSE(ini::writeIniString(u"S", u"A", u"2", withNul));
    EXPECT_FALSE(ini::writeIniSection(u"T", u"B=1", withNul));
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(IniTest, FolderNamedWithATrailingSeparatorCannotBeOpened) {
    // The folder holds a plain file, so the existence test finds it; opening
    // the folder itself as the INI file then fails as any unopenable file does.
    const String folder = dir.file("conf") + qx::files::separator();
    std::filesystem::create_directory(dir.path("conf"));
    writeBytes(dir.path("conf") / "x.ini", "[S]\r\nA=1\r\n");
    EXPECT_RAISES(qx::err::PathFileAccessError, ini::getIniString(u"S", u"A", u"d", folder));
    EXPECT_RAISES(qx::err::PathFileAccessError, ini::writeIniString(u"S", u"A", u"d", folder));
    EXPECT_EQ(readBytes(dir.path("conf") / "x.ini"), "[S]\r\nA=1\r\n");
}

}  // namespace
