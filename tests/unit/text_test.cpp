// Text rules: trimming removes only spaces, comparisons ignore case beyond
// ASCII, UTF-8 conversions keep characters outside the basic plane.
#include <gtest/gtest.h>

#include "core/qxstring.h"

using qx::String;

TEST(Trim, RemovesOnlyTheSpaceCharacter) {
    EXPECT_EQ(qx::trimLeft(u"  a b  "), u"a b  ");
    EXPECT_EQ(qx::trimRight(u"  a b  "), u"  a b");
    // Tabs, NULs and no-break spaces are text, not blanks.
    EXPECT_EQ(qx::trim(String(u"  \t\u00A0x\0  ", 8)), String(u"\t\u00A0x\0", 4));
}

TEST(NoCase, FoldsLettersBeyondAsciiOnly) {
    EXPECT_TRUE(qx::equalsNoCase(u"\u00C4\u0141\u0178\u03A3\u0401z", u"\u00E4\u0142\u00FF\u03C3\u0451Z"));
    // The multiplication and division signs sit among the Latin-1 letters but are no case pair.
    EXPECT_FALSE(qx::equalsNoCase(u"\u00D7", u"\u00F7"));
    EXPECT_FALSE(qx::equalsNoCase(u"[", u"{"));
    EXPECT_EQ(qx::findNoCase(u"xx\u00C4BCxx", u"\u00E4b"), 2u);
    EXPECT_EQ(qx::findNoCase(u"abcABC", u"abc", 1), 3u);
    EXPECT_TRUE(qx::startsWithNoCase(u"\u00C9t\u00E9.ini", u"\u00E9T"));
}

TEST(Utf8, RoundTripsEveryPlaneAndReplacesBrokenInput) {
    const String text = u"A\u00E9\u20AC\U0001F600z";  // the emoji is a surrogate pair
    EXPECT_EQ(qx::toUtf8(text), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(qx::fromUtf8(qx::toUtf8(text)), text);
    // A truncated sequence, a missing continuation byte, no lead byte.
    EXPECT_EQ(qx::fromUtf8("a\xC3|\xC3z|\xFF"), u"a\uFFFD|\uFFFDz|\uFFFD");
}
