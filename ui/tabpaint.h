#pragma once
// Painting of hooked tab strips: the decisions behind it, kept free of system
// calls so that they can be checked anywhere. A hooked tab strip keeps its
// background choice in window properties of these names.
#include <cstdint>

namespace qx::ui::tab {

constexpr const char* kPropStyle = "MyStyle";
constexpr const char* kPropGradientDir = "MyGradientDir";
constexpr const char* kPropColor1 = "MyGradientColor1";
constexpr const char* kPropColor2 = "MyGradientColor2";
constexpr const char* kPropSolidColor = "MySolidColor";
constexpr const char* kPropPicture = "MyPicture";
constexpr const char* kPropPictureWidth = "MyPictureWidth";
constexpr const char* kPropPictureHeight = "MyPictureHeight";
constexpr const char* kPropFadeTime = "MyFadeTime";
constexpr const char* kPropHooked = "Hooked";

// Background styles.
constexpr std::int32_t kSolid = 0;
constexpr std::int32_t kPicture = 1;
constexpr std::int32_t kGradient = 2;
constexpr std::int32_t kPulse = 3;

// The pulse timer: its id and period in milliseconds.
constexpr std::uintptr_t kPulseTimerId = 0xCBABE;
constexpr unsigned kPulsePeriodMs = 1;

// The level of a pulsing gradient, shared by every hooked window.
struct PulseState {
    std::int32_t level = 0;
    bool falling = false;
};

// One timer tick: moves the level by `fadeTime` (down while falling), clamps
// it to 0..255 and turns the direction where it was clamped.
void pulseStep(PulseState& s, std::int32_t fadeTime);

// A plain colour &H00BBGGRR brightened by `level`: red and green gain the
// level, blue gains blue * level \ 192; channels are clamped to 0..255 in the
// direction the level moves them.
std::int32_t brighten(std::int32_t colour, std::int32_t level);

// A colour byte as a gradient vertex channel (the byte shifted left by 8).
std::uint16_t vertexChannel(std::int32_t colour, int shift);

// Whether a colour value names a system colour (top bit set), and its index.
bool isSystemColour(std::int32_t colour);
int systemColourIndex(std::int32_t colour);

}  // namespace qx::ui::tab
