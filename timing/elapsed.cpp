#include "timing/elapsed.h"

#include <cstdio>

namespace qx::timing {

namespace {
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
}  // namespace

String secondsToHHMMSS(std::int32_t& seconds) {
    const std::int64_t hours = floorDiv(seconds, 3600);
    const std::int64_t rest = std::int64_t{seconds} - hours * 3600;
    seconds = static_cast<std::int32_t>(rest);  // 0..3599: always fits
    const std::int64_t minutes = floorDiv(rest, 60);
    const std::int64_t secs = rest - minutes * 60;
    // The joined parts are read back as a time of day: only 0:0:0 to 23:59:59 is one.
    if (hours < 0 || hours > 23) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(hours), static_cast<int>(minutes),
                  static_cast<int>(secs));
    return fromUtf8(buf);
}

}  // namespace qx::timing
