// Without a display driver to ask, the settings are those of the screen the
// host installed (or the headless default): its size in pixels.
#include "core/screen.h"
#include "sysinfo/display_sys.h"

namespace qx::sysinfo {

bool readDisplaySettings(DisplaySettingsRecord& record) {
    Screen& s = screen();
    if (s.twipsPerPixelX() <= 0 || s.twipsPerPixelY() <= 0) return false;
    record = DisplaySettingsRecord{};
    record.PelsWidth = static_cast<std::uint32_t>(s.width() / s.twipsPerPixelX());
    record.PelsHeight = static_cast<std::uint32_t>(s.height() / s.twipsPerPixelY());
    record.LogPixels = static_cast<std::uint16_t>(1440 / s.twipsPerPixelX());
    return true;
}

}  // namespace qx::sysinfo
