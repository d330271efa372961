// Date values as the host keeps them: days since 30 December 1899, the time
// of day as a fraction that counts forward even for dates before it.
#include <gtest/gtest.h>

#include <cmath>

#include "core/date.h"

namespace {
qx::DateParts parts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return {y, mo, d, h, mi, s}; }

void expectParts(const qx::DateParts& p, const qx::DateParts& want, double from) {
    EXPECT_EQ(p.year, want.year) << "from " << from;
    EXPECT_EQ(p.month, want.month) << "from " << from;
    EXPECT_EQ(p.day, want.day) << "from " << from;
    EXPECT_EQ(p.hour, want.hour) << "from " << from;
    EXPECT_EQ(p.minute, want.minute) << "from " << from;
    EXPECT_EQ(p.second, want.second) << "from " << from;
}
}  // namespace

TEST(DateValue, KnownDays) {
    EXPECT_EQ(qx::toDateValue(parts(1899, 12, 30)), 0.0);
    EXPECT_EQ(qx::toDateValue(parts(1899, 12, 31)), 1.0);
    EXPECT_EQ(qx::toDateValue(parts(1900, 3, 1)), 61.0);  // 1900 was not a leap year
    EXPECT_EQ(qx::toDateValue(parts(2000, 1, 1)), 36526.0);
    EXPECT_EQ(qx::toDateValue(parts(2000, 3, 1)), 36586.0);  // 2000 was
    EXPECT_EQ(qx::toDateValue(parts(2000, 1, 1, 18)), 36526.75);
    EXPECT_EQ(qx::toDateValue(parts(1899, 12, 29, 6)), -1.25);
    EXPECT_EQ(qx::toDateValue(parts(1800, 1, 1)), -36522.0);
}

TEST(DateValue, PartsOfAValue) {
    expectParts(qx::fromDateValue(0), parts(1899, 12, 30), 0);
    expectParts(qx::fromDateValue(36526.75), parts(2000, 1, 1, 18), 36526.75);
    expectParts(qx::fromDateValue(-1.25), parts(1899, 12, 29, 6), -1.25);
    expectParts(qx::fromDateValue(-1.75), parts(1899, 12, 29, 18), -1.75);
    expectParts(qx::fromDateValue(0.5 + 1.0 / 86400), parts(1899, 12, 30, 12, 0, 1), 0.5 + 1.0 / 86400);
    // Times are whole seconds: just short of midnight rounds into the next day.
    expectParts(qx::fromDateValue(36526.9999999), parts(2000, 1, 2), 36526.9999999);
    expectParts(qx::fromDateValue(-1.9999999), parts(1899, 12, 28), -1.9999999);
}

TEST(DateValue, RoundTripsOverCenturies) {
    for (int day = -80000; day <= 80000; day += 997) {
        const qx::DateParts midnight = qx::fromDateValue(day);
        EXPECT_EQ(qx::toDateValue(midnight), day);
        for (const int secs : {1, 3600 * 6, 86399}) {
            qx::DateParts p = midnight;
            p.hour = secs / 3600;
            p.minute = secs / 60 % 60;
            p.second = secs % 60;
            const double v = qx::toDateValue(p);
            // The whole part is the day, on either side of the epoch.
            EXPECT_EQ(std::trunc(v), day);
            expectParts(qx::fromDateValue(v), p, v);
        }
    }
}
