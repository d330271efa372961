// How much processor time WaitSeconds uses while it waits: the wait must stay
// responsive without keeping a core busy.
#include <chrono>
#include <cstdio>

#include "cpu_time.h"
#include "timing/timing.h"

int main() {
    for (const int seconds : {1, 2, 3}) {
        const double cpu0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        qx::timing::waitSeconds(seconds);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = processCpuSeconds() - cpu0;
        std::printf("WaitSeconds %d: waited %.3f s, processor %.4f s = %.2f%% of one core\n", seconds, wall, cpu,
                    100.0 * cpu / wall);
    }
    return 0;
}
