// Without a windowing system the message box is answered by the runtime's
// message box, which a host can install (qx::setMessageBoxHandler); unless
// it does, the message goes to the standard error stream. An answer that is
// not one of the box's buttons counts as closing it without a press.
#include <algorithm>

#include "core/msgbox.h"
#include "ui/msgbox_form_sys.h"

namespace qx::ui {

MsgTextSize measureMsgText(const String& prompt) {
    // A fixed cell of the message font: 7 x 16 pixels at 15 twips each.
    std::size_t lines = 1, longest = 0, current = 0;
    for (char16_t c : prompt) {
        if (c == u'\n') {
            ++lines;
            current = 0;
        } else if (c != u'\r') {
            longest = std::max(longest, ++current);
        }
    }
    return {static_cast<double>(longest) * 7 * 15, static_cast<double>(lines) * 16 * 15};
}

std::int32_t msgFrameHeight() { return 0; }

std::int32_t showMsgBox(const MsgBoxRequest& request, const MsgBoxLayout&) {
    const std::int32_t answer = messageBox(request.prompt, request.style, request.caption);
    const bool offered = std::any_of(request.buttons.begin(), request.buttons.end(),
                                     [&](const MsgBoxButton& b) { return b.result == answer; });
    return offered ? answer : 0;
}

}  // namespace qx::ui
