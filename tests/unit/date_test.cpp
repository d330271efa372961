// Date values as the host keeps them: days since 30 December 1899, the time
// of day as a fraction that counts forward even for dates before it.
#include <gtest/gtest.h>

#include <cmath>

#include "core/date.h"

TEST(DateValue, KnownDaysAndRoundTripsOverCenturies) {
    EXPECT_EQ(qx::toDateValue({1900, 3, 1, 0, 0, 0}), 61.0);  // 1900 was not a leap year
    EXPECT_EQ(qx::toDateValue({2000, 3, 1, 0, 0, 0}), 36586.0);  // 2000 was
    // 29 December 1899 18:00, and just short of its midnight, which rounds into the next day.
    EXPECT_EQ(qx::fromDateValue(-1.75).hour, 18);
    EXPECT_EQ(qx::fromDateValue(-1.9999999).day, 28);
    for (int day = -80000; day <= 80000; day += 997) {
        const qx::DateParts midnight = qx::fromDateValue(day);
        for (const int secs : {0, 1, 3600 * 6, 86399}) {
            const qx::DateParts p{midnight.year, midnight.month, midnight.day, secs / 3600, secs / 60 % 60, secs % 60};
            const double v = qx::toDateValue(p);
            EXPECT_EQ(std::trunc(v), day) << "the whole part is the day, on either side of the epoch";
            const qx::DateParts back = qx::fromDateValue(v);
            EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second, secs) << v;
        }
    }
}
