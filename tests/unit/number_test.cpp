// Rounding ties to even and 16-bit arithmetic that overflows with error 6.
#include <gtest/gtest.h>

#include <cmath>

#include "core/error.h"
#include "core/numeric.h"
#include "test_support.h"

TEST(Rounding, HalvesGoToTheEvenNeighbourThenTheRangeIsChecked) {
    for (const double in : {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 2.4999, 2.5001, -2.5001, 7.0})
        EXPECT_EQ(qx::roundHalfEven(in), std::nearbyint(in)) << "rounding " << in;
    EXPECT_TRUE(std::isnan(qx::roundHalfEven(std::nan(""))));

    EXPECT_EQ(qx::toInt16(32767.4), 32767);
    EXPECT_EQ(qx::toInt16(-32768.5), -32768);  // the tie rounds to the even value inside the range
    EXPECT_RAISES(qx::err::Overflow, qx::toInt16(32767.5));
    EXPECT_RAISES(qx::err::Overflow, qx::toInt16(std::nan("")));
    EXPECT_EQ(qx::toByte(254.5), 254);
    EXPECT_RAISES(qx::err::Overflow, qx::toByte(-0.6));
    EXPECT_RAISES(qx::err::Overflow, qx::toInt32(2147483647.5));
}

TEST(Int16, OverflowRaisesError6) {
    EXPECT_EQ(qx::checkedInt16(-32768), -32768);
    EXPECT_RAISES(qx::err::Overflow, qx::checkedInt16(32768));
    EXPECT_RAISES(qx::err::Overflow, qx::checkedInt16(-32769));
    EXPECT_EQ(qx::add16(-32768, 32767), -1);
    EXPECT_RAISES(qx::err::Overflow, qx::add16(32767, 1));
    EXPECT_RAISES(qx::err::Overflow, qx::sub16(-32768, 1));
    EXPECT_RAISES(qx::err::Overflow, qx::mul16(-32768, -1));
    EXPECT_EQ(qx::mul16(-181, 181), -32761);
    EXPECT_RAISES(qx::err::Overflow, qx::checkedInt32(2147483648LL));
}
