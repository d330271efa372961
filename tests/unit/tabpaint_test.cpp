// The pulse of a hooked tab strip's gradient: the level of each timer tick, the colours it brightens.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/tabpaint.h"

namespace tab = qx::ui::tab;

TEST(TabPulse, RisesToTheTopTurnsAndFallsBack) {
    tab::PulseState s;
    std::vector<std::int32_t> levels{s.level};
    for (int i = 0; i < 13; ++i) {
        tab::pulseStep(s, 51);
        levels.push_back(s.level);
    }
    // Reaching an end exactly goes on; a step past it stops there and turns.
    EXPECT_EQ(levels, (std::vector<std::int32_t>{0, 51, 102, 153, 204, 255, 255, 204, 153, 102, 51, 0, 0, 51}));
}

TEST(TabPulse, BrightenAddsTheLevelToRedAndGreenAndScalesBlue) {
    // red 0x10, green 0x20, blue 0x60 (96): blue gains 96 * 51 \ 192 = 25.
    EXPECT_EQ(tab::brighten(0x602010, 51), (0x10 + 51) + (0x20 + 51) * 256 + (96 + 25) * 65536);
    // Channels stop at 255, and a negative level darkens and stops at 0.
    EXPECT_EQ(tab::brighten(0x0000F0, 100), 0x0064FF);
    EXPECT_EQ(tab::brighten(0x102030, -0x20), 0x0E0010);
}
