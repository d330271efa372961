#include "sysinfo/display.h"

#include "core/hostapp.h"
#include "core/msgbox.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "sysinfo/display_sys.h"

namespace qx::sysinfo {

namespace {
// The settings compared for a change: the size, colour depth and refresh
// rate of the mode in use.
bool sameMode(const DisplaySettingsRecord& a, const DisplaySettingsRecord& b) {
    return a.PelsWidth == b.PelsWidth && a.PelsHeight == b.PelsHeight && a.BitsPerPel == b.BitsPerPel &&
           a.DisplayFrequency == b.DisplayFrequency;
}
}  // namespace

String screenTooSmallText(std::int16_t minWidth, std::int16_t minHeight) {
    return u"To properly display this application, your video \r\nresolution should be set to " + toDecimal(minWidth) +
           u"x" + toDecimal(minHeight) + u" or greater.";
}

bool checkScreenSize(std::int16_t minWidth, std::int16_t minHeight) {
    LibraryState& st = state();
    Screen& s = screen();
    st.ScreenWidthPixels = toInt16(static_cast<double>(s.width()) / s.twipsPerPixelX());
    st.ScreenHeightPixels = toInt16(static_cast<double>(s.height()) / s.twipsPerPixelY());
    readDisplaySettings(st.DisplaySettings);
    if (minWidth > 0 && minHeight > 0 && st.ScreenWidthPixels < minWidth && st.ScreenHeightPixels < minHeight) {
        messageBox(screenTooSmallText(minWidth, minHeight), 64, host::exeName(st.HostApp) + u" Video Display");
        return false;
    }
    return true;
}

bool checkIfResolutionChanged() {
    LibraryState& st = state();
    readDisplaySettings(st.DisplaySettings);
    if (sameMode(st.DisplaySettings, st.SavedDisplaySettings)) return false;
    st.SavedDisplaySettings = st.DisplaySettings;
    return true;
}

}  // namespace qx::sysinfo
