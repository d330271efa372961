// The POSIX port of the core: UTF-8 as the system's narrow text, date text in
// the C library's locale.
#include <gtest/gtest.h>

#include <string>

#include "core/date.h"
#include "core/error.h"
#include "core/qxstring.h"
#include "test_support.h"

TEST(PosixNarrow, IsUtf8AndEveryByteStringRoundTrips) {
    EXPECT_EQ(qx::fromNarrow("caf\xC3\xA9 \xF0\x9F\x98\x80"), u"caf\u00E9 \U0001F600");
    // Latin-1, a lone continuation byte, a truncated sequence, an overlong
    // "/", an encoded surrogate and a code point beyond U+10FFFF.
    const std::string odd = "Ren\xE9|\x80|\xE2\x82|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xFF";
    const qx::String wide = qx::fromNarrow(odd);
    EXPECT_EQ(wide.substr(0, 4), u"Ren\xDCE9");
    EXPECT_EQ(wide.find(u'\uFFFD'), qx::String::npos);
    EXPECT_EQ(qx::toNarrow(wide), odd);
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(qx::toNarrow(qx::fromNarrow(all + all)), all + all);
    // Surrogates the decoding never makes: unpaired ones outside U+DC80..U+DCFF.
    EXPECT_EQ(qx::toNarrow(u"\xD800x\xDC7F\xDD00"), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(PosixDateText, RoundTripsWhatItWrites) {
    // 2000-01-01 18:00, the same day at midnight, 18:00 on no day at all, and
    // days outside any two-digit-year window (1900, 1950, 2100, 29 Dec 1899 06:00).
    for (const double d : {36526.75, 36526.0, 0.75, 45000.5 + 1.0 / 86400, 2.0, 18429.5, 73051.0, -1.25}) {
        const qx::String text = qx::dateToText(d);
        EXPECT_DOUBLE_EQ(qx::textToDate(text), d) << qx::toUtf8(text);
    }
    // The date alone at midnight, the time alone on 30 December 1899.
    EXPECT_EQ(qx::dateToText(36526.75), qx::dateToText(36526.0) + u" " + qx::dateToText(0.75));
    EXPECT_RAISES(qx::err::TypeMismatch, qx::textToDate(u"not a date"));
}
