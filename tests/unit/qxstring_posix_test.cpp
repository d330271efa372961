// The POSIX port of the core: UTF-8 as the system's narrow text, in which
// every byte string a file name can hold round-trips.
#include <gtest/gtest.h>

#include <string>

#include "core/qxstring.h"

TEST(PosixNarrow, IsUtf8AndEveryByteStringRoundTrips) {
    EXPECT_EQ(qx::fromNarrow("caf\xC3\xA9 \xF0\x9F\x98\x80"), u"caf\u00E9 \U0001F600");
    // Latin-1, a lone continuation byte, a truncated sequence, an overlong
    // "/", an encoded surrogate and a code point beyond U+10FFFF.
    const std::string odd = "Ren\xE9|\x80|\xE2\x82|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xFF";
    const qx::String wide = qx::fromNarrow(odd);
    EXPECT_EQ(wide.substr(0, 4), u"Ren\xDCE9");
    EXPECT_EQ(wide.find(u'\uFFFD'), qx::String::npos);
    EXPECT_EQ(qx::toNarrow(wide), odd);
    // Surrogates the decoding never makes: unpaired ones outside U+DC80..U+DCFF.
    EXPECT_EQ(qx::toNarrow(u"\xD800x\xDC7F\xDD00"), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
}
