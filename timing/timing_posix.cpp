// Waiting on POSIX: there is no message queue to wake on; a host that
// installed a message pump gets it run at least every 10 ms while waiting.
#include <time.h>

#include "core/scoped.h"
#include "core/screen.h"
#include "timing/timing_sys.h"

namespace qx::timing {

void waitForMessagesOrTimeout(int ms) {
    if (ms < 1) ms = 1;
    if (messagePumpInstalled() && ms > 10) ms = 10;
    timespec ts{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    // Woken early by a signal, it sleeps on for the time left.
    retryOnEintr([&] { return nanosleep(&ts, &ts); });
}

int msToNextSecond() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return 1000 - static_cast<int>(ts.tv_nsec / 1000000L);
}

}  // namespace qx::timing
