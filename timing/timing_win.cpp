// Waiting on Windows: the thread sleeps until a message is posted to its
// queue or the time is up.
#include <windows.h>

#include "timing/timing_sys.h"

namespace qx::timing {

void waitForMessagesOrTimeout(int ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms < 1 ? 1 : ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

int msToNextSecond() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return 1000 - st.wMilliseconds;
}

}  // namespace qx::timing
