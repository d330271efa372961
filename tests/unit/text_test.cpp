// Text rules: trimming removes only spaces, comparisons ignore case beyond
// ASCII, UTF-8 conversions keep characters outside the basic plane.
#include <gtest/gtest.h>

#include "core/qxstring.h"

using qx::String;

TEST(Trim, RemovesOnlyTheSpaceCharacter) {
    EXPECT_EQ(qx::trimLeft(u"  a b  "), u"a b  ");
    EXPECT_EQ(qx::trimRight(u"  a b  "), u"  a b");
    EXPECT_EQ(qx::trim(u"    "), u"");
    // Tabs, NULs and no-break spaces are text, not blanks.
    EXPECT_EQ(qx::trim(u"\ta\t"), u"\ta\t");
    EXPECT_EQ(qx::trim(u"\u00A0a "), u"\u00A0a");
    EXPECT_EQ(qx::trim(String(u"  x\0  ", 6)), String(u"x\0", 2));
}

TEST(NoCase, FoldsLettersBeyondAsciiOnly) {
    EXPECT_TRUE(qx::equalsNoCase(u"\u00C4BC", u"\u00E4bc"));                        // Latin-1
    EXPECT_TRUE(qx::equalsNoCase(u"\u0141\u00F3d\u017A", u"\u0142\u00D3D\u0179"));  // Latin Extended-A
    EXPECT_TRUE(qx::equalsNoCase(u"\u0178", u"\u00FF"));                            // Y with diaeresis
    EXPECT_TRUE(qx::equalsNoCase(u"\u03A3\u039F\u03A6", u"\u03C3\u03BF\u03C6"));    // Greek
    EXPECT_TRUE(qx::equalsNoCase(u"\u0416\u0401", u"\u0436\u0451"));                // Cyrillic, incl. Io
    EXPECT_FALSE(qx::equalsNoCase(u"abc", u"abcd"));
    // The multiplication and division signs sit among the Latin-1 letters but are no case pair.
    EXPECT_FALSE(qx::equalsNoCase(u"\u00D7", u"\u00F7"));
    EXPECT_FALSE(qx::equalsNoCase(u"[", u"{"));

    EXPECT_EQ(qx::findNoCase(u"xx\u00C4BCxx", u"\u00E4b"), 2u);
    EXPECT_EQ(qx::findNoCase(u"abcABC", u"abc", 1), 3u);
    EXPECT_EQ(qx::findNoCase(u"abcABC", u"abc", 4), String::npos);
    EXPECT_EQ(qx::findNoCase(u"abc", u"", 2), 2u);
    EXPECT_TRUE(qx::startsWithNoCase(u"\u00C9t\u00E9.ini", u"\u00E9T"));
    EXPECT_FALSE(qx::startsWithNoCase(u"ab", u"abc"));
}

TEST(Utf8, RoundTripsEveryPlaneAndReplacesBrokenInput) {
    const String text = u"A\u00E9\u20AC\U0001F600z";  // the emoji is a surrogate pair
    EXPECT_EQ(qx::toUtf8(text), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(qx::fromUtf8(qx::toUtf8(text)), text);
    EXPECT_EQ(qx::fromUtf8("a\xC3"), u"a\uFFFD");     // truncated sequence
    EXPECT_EQ(qx::fromUtf8("\xC3z"), u"\uFFFDz");     // continuation byte missing
    EXPECT_EQ(qx::fromUtf8("\xFF" "b"), u"\uFFFDb");  // not a lead byte
}
