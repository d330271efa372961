// The display settings of the mode in use, from EnumDisplaySettingsA.
#include <windows.h>

#include "sysinfo/display_sys.h"

namespace qx::sysinfo {

bool readDisplaySettings(DisplaySettingsRecord& record) {
    DEVMODEA dm{};
    dm.dmSize = sizeof dm;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm)) return false;
    const char* name = reinterpret_cast<const char*>(dm.dmDeviceName);
    std::size_t len = 0;
    while (len < sizeof dm.dmDeviceName && name[len] != '\0') ++len;
    record.DeviceName = fromNarrow(std::string(name, len));
    record.Size = dm.dmSize;
    record.Fields = dm.dmFields;
    record.YResolution = dm.dmYResolution;
    record.LogPixels = dm.dmLogPixels;
    record.BitsPerPel = dm.dmBitsPerPel;
    record.PelsWidth = dm.dmPelsWidth;
    record.PelsHeight = dm.dmPelsHeight;
    record.DisplayFlags = dm.dmDisplayFlags;
    record.DisplayFrequency = dm.dmDisplayFrequency;
    return true;
}

}  // namespace qx::sysinfo
