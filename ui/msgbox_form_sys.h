#pragma once
// The message box's window: built from a finished layout, shown modal to the
// caller, run until it closes.
#include <cstdint>
#include <vector>

#include "core/qxstring.h"
#include "ui/msgbox_form.h"

namespace qx::ui {

struct MsgBoxRequest {
    String caption;
    String prompt;
    std::int32_t style = 0;  // as the caller gave it
    std::int32_t align = 2;
    std::vector<MsgBoxButton> buttons;
    std::size_t focus = 0;
};

// What the message needs, in twips, in the message's font (Times New Roman
// 9.75 pt bold): its width and height.
struct MsgTextSize {
    double width = 0;
    double height = 0;
};
MsgTextSize measureMsgText(const String& prompt);
// The form's height less its client height, in twips.
std::int32_t msgFrameHeight();

// Sounds the default beep, shows the box laid out as given and waits until it
// closes: the pressed button's result code, or 0 when none was pressed.
std::int32_t showMsgBox(const MsgBoxRequest& request, const MsgBoxLayout& layout);

}  // namespace qx::ui
