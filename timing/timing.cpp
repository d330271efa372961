#include "timing/timing.h"

#include <chrono>
#include <random>

#include "core/date.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "timing/elapsed.h"
#include "timing/timing_sys.h"

namespace qx::timing {

namespace {
// A date value as a count of whole seconds, for differences.
std::int64_t wholeSeconds(double date) {
    const DateParts p = fromDateValue(date);
    const double midnight = toDateValue({p.year, p.month, p.day, 0, 0, 0});
    return static_cast<std::int64_t>(midnight) * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
}
}  // namespace

String timeStamp() { return trim(dateToText(nowLocal())); }

String elapsedTime(const String& start, const String& stop) {
    const double from = textToDate(start);
    const double to = textToDate(stop);
    std::int32_t seconds = checkedInt32(wholeSeconds(to) - wholeSeconds(from));
    return secondsToHHMMSS(seconds);
}

void waitSeconds(std::int32_t seconds) {
    const std::int16_t n = checkedInt16(seconds);
    const std::int64_t target = wholeSeconds(nowLocal()) + n;
    // The clock is looked at after every message and at every change of its
    // second: the wait ends at the same second a busy loop would, idle between.
    while (wholeSeconds(nowLocal()) < target) {
        doEvents();
        waitForMessagesOrTimeout(msToNextSecond() + 1);
    }
}

void waitRandomTime() {
    std::mt19937 generator(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(generator);
    waitSeconds(static_cast<std::int32_t>(roundHalfEven(r)));
}

}  // namespace qx::timing
