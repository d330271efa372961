// Date values as the host keeps them: days since 30 December 1899, the time
// of day as a fraction that counts forward even for dates before it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/date.h"

namespace {
// The parts as "y-m-d h:m:s", for comparisons that name every field.
std::string text(const qx::DateParts& p) {
    return std::to_string(p.year) + "-" + std::to_string(p.month) + "-" + std::to_string(p.day) + " " +
           std::to_string(p.hour) + ":" + std::to_string(p.minute) + ":" + std::to_string(p.second);
}
}  // namespace

TEST(DateValue, KnownDaysAndRoundTripsOverCenturies) {
    EXPECT_EQ(qx::toDateValue({1900, 3, 1, 0, 0, 0}), 61.0);  // 1900 was not a leap year
    EXPECT_EQ(qx::toDateValue({2000, 3, 1, 0, 0, 0}), 36586.0);  // 2000 was
    EXPECT_EQ(text(qx::fromDateValue(-1.75)), "1899-12-29 18:0:0");
    // Times are whole seconds: just short of midnight rounds into the next day.
    EXPECT_EQ(text(qx::fromDateValue(-1.9999999)), "1899-12-28 0:0:0");
    for (int day = -80000; day <= 80000; day += 997) {
        const qx::DateParts midnight = qx::fromDateValue(day);
        EXPECT_EQ(qx::toDateValue(midnight), day);
        for (const int secs : {1, 3600 * 6, 86399}) {
            const qx::DateParts p{midnight.year, midnight.month, midnight.day, secs / 3600, secs / 60 % 60, secs % 60};
            const double v = qx::toDateValue(p);
            EXPECT_EQ(std::trunc(v), day) << "the whole part is the day, on either side of the epoch";
            EXPECT_EQ(text(qx::fromDateValue(v)), text(p));
        }
    }
}
