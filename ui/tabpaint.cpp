#include "ui/tabpaint.h"

namespace qx::ui::tab {

void pulseStep(PulseState& s, std::int32_t fadeTime) {
    const std::int64_t next = s.falling ? std::int64_t{s.level} - fadeTime : std::int64_t{s.level} + fadeTime;
    if (next > 255) {
        s.level = 255;
        s.falling = !s.falling;
    } else if (next < 0) {
        s.level = 0;
        s.falling = !s.falling;
    } else {
        s.level = static_cast<std::int32_t>(next);
    }
}

std::int32_t brighten(std::int32_t colour, std::int32_t level) {
    // The channels as the host's integer arithmetic reads them (division truncating toward zero).
    std::int32_t red = colour & 255;
    std::int32_t green = (colour / 256) % 256;
    const std::int32_t blue0 = (colour / 65536) % 256;
    red += level;
    green += level;
    std::int32_t blue = blue0 + (blue0 * level) / 192;
    auto clamp = [level](std::int32_t& c) {
        if (level > 0 && c > 255) c = 255;
        if (level < 0 && c < 0) c = 0;
    };
    clamp(red);
    clamp(green);
    clamp(blue);
    return red + green * 256 + blue * 65536;
}

std::uint16_t vertexChannel(std::int32_t colour, int shift) {
    return static_cast<std::uint16_t>(((static_cast<std::uint32_t>(colour) >> shift) & 0xFF) << 8);
}

bool isSystemColour(std::int32_t colour) { return colour < 0; }

int systemColourIndex(std::int32_t colour) { return static_cast<int>(colour & 0x7FFFFFFF); }

}  // namespace qx::ui::tab
