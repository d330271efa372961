#pragma once
// The platform primitives under the waiting routines of timing.h.

namespace qx::timing {

// Waits until a window message arrives or `ms` have passed.
void waitForMessagesOrTimeout(int ms);
// Milliseconds until the local clock's next whole second.
int msToNextSecond();

}  // namespace qx::timing
