// On POSIX the display settings are the host screen's: a change of its size is reported once.
#include <gtest/gtest.h>

#include "core/screen.h"
#include "sysinfo/display.h"
#include "test_support.h"

TEST(DisplayPosix, ResolutionChangeIsReportedOncePerChange) {
    qxtest::runOnFreshThread([] {
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 600, 15));
        EXPECT_TRUE(qx::sysinfo::checkIfResolutionChanged());  // the first reading differs from the empty one
        EXPECT_FALSE(qx::sysinfo::checkIfResolutionChanged());
        qx::setScreen(std::make_shared<qx::FixedScreen>(800, 768, 15));
        EXPECT_TRUE(qx::sysinfo::checkIfResolutionChanged());
        EXPECT_FALSE(qx::sysinfo::checkIfResolutionChanged());
        qx::setScreen(nullptr);
    });
}
