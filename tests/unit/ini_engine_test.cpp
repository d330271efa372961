// The INI engine against real files: what each call returns and the exact
// bytes it leaves on disk.
#include <gtest/gtest.h>

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

// One call on a file: 'g' getIniString(section, a, b) answers the value; 'w'
// writeIniString(section, a, b) and 'W' writeIniSection(section, a) answer
// "found" or "new". `after` is the file it leaves (nullptr: left as it was).
struct Call {
    const char* before;
    char op;
    const char16_t* section;
    const char16_t* a;
    const char16_t* b;
    const char16_t* answer;
    const char* after;
};

const Call kCalls[] = {
    // Lookup: the key is a substring test without regard to case; a ';' line is ordinary.
    {"[Settings]\r\nUserName=Bob\r\nName = Al\r\n;Mode=quiet\r\n", 'g', u"settings", u"name", u"x", u"Bob", nullptr},
    {"[Settings]\r\nUserName=Bob\r\nName = Al\r\n;Mode=quiet\r\n", 'g', u"  SETTINGS ", u"mode", u"x", u"quiet", nullptr},
    {"[Settings]\r\nUserName=Bob\r\nName = Al\r\n", 'g', u"Settings", u"Name ", u"x", u"Al", nullptr},
    {"[S]\r\nK=  a\tb  \r\n", 'g', u"S", u"K", u"x", u"a\tb", nullptr},  // values are trimmed of spaces only
    {"[S]\r\nK=1\r\n[S]\r\nK=2\r\n", 'g', u"S", u"K", u"x", u"1", nullptr},
    // A missing key is stored after the section's end line; any bracketed line
    // ends a section, a value ending in ']' does not, and such kept lines stand
    // between empty lines.
    {"[A]\r\nK=1\r\n\r\n[B]\r\nK=2\r\n", 'g', u"A", u"New", u"v", u"v",
     "\r\n[A]\r\n\r\nK=1\r\nNew=v\r\n\r\n[B]\r\n\r\nK=2\r\n"},
    {"[S]\r\nPath=[x]\r\nA=1\r\n  [not a header]  \r\nB=2\r\n", 'g', u"S", u"B", u"none", u"none",
     "\r\n[S]\r\n\r\n\r\nPath=[x]\r\n\r\nA=1\r\nB=none\r\n  [not a header]  \r\nB=2\r\n"},
    {"A=1\r\n[S]", 'g', u"S", u"K", u"v", u"v", "A=1\r\n\r\n[S]\r\n\r\nK=v\r\n"},
    {"[S]\nK=1\n", 'g', u"S", u"K", u"d", u"d", "[S]\nK=1\n\r\n[S]\r\n\r\nK=d\r\n"},
    // A save drops empty and all-space lines and keeps the others untrimmed.
    {"top\r\n\r\n   \r\n[S]\r\nA=1\r\n\r\n\r\n[T]\r\nB=2\r\n", 'w', u"T", u"B", u"3", u"found",
     "top\r\n\r\n[S]\r\n\r\nA=1\r\n\r\n[T]\r\n\r\nB=3\r\n"},
    {"[S]\r\n  K=1  \r\n", 'w', u"S", u"X", u"2", u"found", "\r\n[S]\r\n\r\n  K=1  \r\nX=2\r\n"},
    {"[S]\r\nUserName=Bob\r\n", 'w', u"S", u"Name", u"Al", u"found", "\r\n[S]\r\n\r\nName=Al\r\n"},
    // Empty values: a write deletes the key line, or only rewrites, or stores "A=" in a new section.
    {"[S]\r\nA=1\r\nB=2\r\n", 'w', u"S", u"A", u"", u"found", "\r\n[S]\r\n\r\nB=2\r\n"},
    {"[S]\r\nB=2\r\n", 'w', u"S", u"A", u"", u"found", "\r\n[S]\r\n\r\nB=2\r\n"},
    {"[T]\r\nB=2\r\n", 'w', u"S", u"A", u"", u"new", "\r\n[T]\r\n\r\nB=2\r\n[S]\r\n\r\nA=\r\n"},
    {"[S]\r\nK=\r\nL=1\r\n", 'g', u"S", u"K", u"", u"", "\r\n[S]\r\n\r\nL=1\r\n"},
    {"[S]\r\nK=   \r\n", 'g', u"S", u"K", u"True", u"True", "\r\n[S]\r\n\r\nK=True\r\n"},
    // Section writes replace the body or append the section, its name as given.
    {"[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n", 'W', u"A", u"n=9", u"", u"found",
     "\r\n[A]\r\n\r\nn=9\r\n\r\n[B]\r\n\r\nz=3\r\n"},
    {"[A]\r\nx=1\r\n", 'W', u" C ", u"c=1", u"", u"new", "\r\n[A]\r\n\r\nx=1\r\n[ C ]\r\n\r\nc=1\r\n"},
    // The new text is verbatim; the layout comes with the next save.
    {"", 'W', u"S", u"a\r\n\r\nb]", u"", u"new", "[S]\r\n\r\na\r\n\r\nb]\r\n"},
    {"[S]\r\n\r\na\r\n\r\nb]\r\n", 'w', u"S", u"a", u"", u"found", "\r\n[S]\r\n\r\na\r\n\r\nb]\r\n\r\n"},
    // CR and LF alone end no line; a byte order mark belongs to the first line.
    {"[S]\r\nlf=a\nb\r\ncr=a\rb\r\n", 'g', u"S", u"lf", u"d", u"a\nb", nullptr},
    {"[S]\r\nlf=a\nb\r\ncr=a\rb\r\n", 'g', u"S", u"cr", u"d", u"a\rb", nullptr},
    {"\xEF\xBB\xBF[S]\r\nK=1\r\n", 'g', u"S", u"K", u"d", u"d", "\r\n\xEF\xBB\xBF[S]\r\n\r\nK=1\r\n[S]\r\n\r\nK=d\r\n"},
    // The alternate header answers only an empty result, after the default was stored.
    {"[S <0009>]\r\nK=alt\r\n", 'g', u"S", u"K", u"", u"alt", "\r\n[S <0009>]\r\n\r\nK=alt\r\n[S]\r\n\r\nK=\r\n"},
    {"[S <0009>]\r\nK=alt\r\n[S]\r\nK=\r\n", 'g', u"S", u"K", u"dflt", u"dflt",
     "\r\n[S <0009>]\r\n\r\nK=alt\r\n\r\n[S]\r\n\r\nK=dflt\r\n"},
};

TEST_F(IniTest, CallsAnswerAndLeaveTheFileExactly) {
    for (const Call& c : kCalls) {
        SCOPED_TRACE(testing::Message() << c.op << " on " << testing::PrintToString(std::string(c.before)));
        put(c.before);
        String answer;
        if (c.op == 'g') answer = ini::getIniString(c.section, c.a, c.b, file);
        if (c.op == 'w') answer = ini::writeIniString(c.section, c.a, c.b, file) ? u"found" : u"new";
        if (c.op == 'W') answer = ini::writeIniSection(c.section, c.a, file) ? u"found" : u"new";
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(bytes(), c.after ? c.after : c.before);
    }
}

TEST_F(IniTest, SectionBodiesAndLines) {
    // The first line is skipped when blank; a section followed by another keeps
    // its last CR LF; the last section ends at its last non-empty line.
    put("[A]\r\n\r\na=1\r\n\r\nb=2\r\n\r\n[B]\r\nc=3\r\n   \r\n\r\n[E]\r\n[F]\r\n\r\n\r\n[G]\r\nd=4\r\ne=5\r\n   \r\n\r\n");
    const std::string before = bytes();
    const std::tuple<const char16_t*, bool, const char16_t*> bodies[] = {
        {u"A", true, u"a=1\r\n\r\nb=2\r\n"}, {u"b", true, u"c=3\r\n   \r\n"}, {u"E", true, u"unchanged"},
        {u"F", true, u""}, {u"G", true, u"d=4\r\ne=5\r\n   "}, {u"Missing", false, u"unchanged"}};
    for (const auto& [section, found, body] : bodies) {
        String got = u"unchanged";
        EXPECT_EQ(ini::getIniSection(section, got, file), found);
        EXPECT_EQ(got, body);
    }
    std::vector<String> lines{u"old"};
    ini::getSection(u"A", file, lines);
    EXPECT_EQ(lines, (std::vector<String>{u"a=1", u"", u"b=2", u""}));
    for (const char16_t* empty : {u"E", u"F", u"Missing"}) {
        ini::getSection(empty, file, lines);
        EXPECT_EQ(lines, (std::vector<String>{u"", u""})) << "no body, an empty one and no section alike";
    }
    EXPECT_EQ(bytes(), before) << "reads write nothing";
}

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

TEST_F(IniTest, ReadOnlyFileIsLeftAlone) {
    put("[S]\r\nA=1\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_TRUE(ini::writeIniString(u"S", u"A", u"2", file));
    EXPECT_EQ(bytes(), "[S]\r\nA=1\r\n");
}

}  // namespace
