// Date values as the host keeps them: days since 30 December 1899, the time
// of day as a fraction that counts forward even for dates before it.
#include <gtest/gtest.h>

#include <cmath>

#include "core/date.h"

namespace {
qx::DateParts parts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return {y, mo, d, h, mi, s}; }

void expectParts(double from, const qx::DateParts& want) {
    const qx::DateParts p = qx::fromDateValue(from);
    EXPECT_TRUE(p.year == want.year && p.month == want.month && p.day == want.day && p.hour == want.hour &&
                p.minute == want.minute && p.second == want.second)
        << "from " << from << ": " << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":" << p.minute
        << ":" << p.second;
}
}  // namespace

TEST(DateValue, KnownDaysBothWays) {
    EXPECT_EQ(qx::toDateValue(parts(1900, 3, 1)), 61.0);  // 1900 was not a leap year
    EXPECT_EQ(qx::toDateValue(parts(2000, 3, 1)), 36586.0);  // 2000 was
    EXPECT_EQ(qx::toDateValue(parts(1800, 1, 1)), -36522.0);
    EXPECT_EQ(qx::toDateValue(parts(1899, 12, 29, 6)), -1.25);
    expectParts(36526.75, parts(2000, 1, 1, 18));
    expectParts(-1.25, parts(1899, 12, 29, 6));
    expectParts(-1.75, parts(1899, 12, 29, 18));
    // Times are whole seconds: just short of midnight rounds into the next day.
    expectParts(36526.9999999, parts(2000, 1, 2));
    expectParts(-1.9999999, parts(1899, 12, 28));
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
            EXPECT_EQ(std::trunc(v), day) << "the whole part is the day, on either side of the epoch";
            expectParts(v, p);
        }
    }
}
