// The decisions behind painting a hooked tab strip: the pulse of a pulsing
// gradient, the brightened colours, and the vertex channels of a gradient.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ui/tabpaint.h"

namespace tab = qx::ui::tab;

TEST(TabPulse, RisesToTheTopTurnsAndFallsBack) {
    tab::PulseState s;
    std::vector<std::int32_t> levels{s.level};
    for (int i = 0; i < 12; ++i) {
        tab::pulseStep(s, 51);
        levels.push_back(s.level);
    }
    const std::vector<std::int32_t> expected{0, 51, 102, 153, 204, 255, 255, 204, 153, 102, 51, 0, 0};
    EXPECT_EQ(levels, expected);
    // At the bottom it has turned again and rises.
    tab::pulseStep(s, 51);
    EXPECT_EQ(s.level, 51);
    EXPECT_FALSE(s.falling);
}

TEST(TabPulse, StepThatPassesAnEndIsClampedAndTurns) {
    tab::PulseState s{250, false};
    tab::pulseStep(s, 10);
    EXPECT_EQ(s.level, 255);
    EXPECT_TRUE(s.falling);
    tab::pulseStep(s, 100);
    EXPECT_EQ(s.level, 155);
    s = {5, true};
    tab::pulseStep(s, 10);
    EXPECT_EQ(s.level, 0);
    EXPECT_FALSE(s.falling);
    // A step of zero keeps the level where it is.
    s = {77, false};
    tab::pulseStep(s, 0);
    EXPECT_EQ(s.level, 77);
    EXPECT_FALSE(s.falling);
}

TEST(TabPulse, BrightenAddsTheLevelToRedAndGreenAndScalesBlue) {
    // red 0x10, green 0x20, blue 0x60 (96): blue gains 96 * 51 \ 192 = 25.
    EXPECT_EQ(tab::brighten(0x602010, 51), (0x10 + 51) + (0x20 + 51) * 256 + (96 + 25) * 65536);
    EXPECT_EQ(tab::brighten(0x602010, 0), 0x602010);
    // Channels stop at 255.
    EXPECT_EQ(tab::brighten(0xF0F0F0, 255), 0xFFFFFF);
    EXPECT_EQ(tab::brighten(0x0000F0, 100), 0x0064FF);
    // A black blue channel stays black whatever the level.
    EXPECT_EQ(tab::brighten(0x000000, 255) >> 16, 0);
    // A negative level darkens and stops at 0.
    EXPECT_EQ(tab::brighten(0x102030, -0x20), 0x0E0010);
}

TEST(TabGradient, VertexChannelsAreTheColourBytesShiftedLeftByEight) {
    const std::int32_t colour = 0x00563412;
    EXPECT_EQ(tab::vertexChannel(colour, 0), 0x1200);
    EXPECT_EQ(tab::vertexChannel(colour, 8), 0x3400);
    EXPECT_EQ(tab::vertexChannel(colour, 16), 0x5600);
    EXPECT_EQ(tab::vertexChannel(0x00FFFFFF, 16), 0xFF00);
    // A system colour's bytes are taken as they stand.
    EXPECT_EQ(tab::vertexChannel(static_cast<std::int32_t>(0x8000000F), 0), 0x0F00);
}

TEST(TabGradient, SystemColoursAreThoseWithTheTopBitSet) {
    EXPECT_TRUE(tab::isSystemColour(static_cast<std::int32_t>(0x8000000F)));
    EXPECT_EQ(tab::systemColourIndex(static_cast<std::int32_t>(0x8000000F)), 15);
    EXPECT_FALSE(tab::isSystemColour(0x00FFFFFF));
    EXPECT_FALSE(tab::isSystemColour(0));
}
