#pragma once
// The library's own message box: a message above a centred row of buttons,
// painted in the stored skin. What it shows and where everything goes is
// decided here, in twips; the window itself lives in the platform files.
#include <cstdint>
#include <vector>

#include "core/qxstring.h"

namespace qx::ui {

struct MsgBoxButton {
    const char16_t* caption;
    std::int32_t result;  // the standard message box's result code
};

// Size of button element 0, in twips.
constexpr std::int32_t kMsgButtonWidth = 1215;
constexpr std::int32_t kMsgButtonHeight = 495;
// Where the message label starts, in twips from the form's top-left corner.
constexpr std::int32_t kMsgLabelOffset = 100;

// The buttons of a style, left to right (its low three bits choose them).
std::vector<MsgBoxButton> msgBoxButtons(std::int32_t style);
// The index of the button that takes the focus (bits 256 and 512 of the
// style); a default beyond the last button leaves it on the first.
std::size_t msgBoxFocus(std::int32_t style, std::size_t buttonCount);
// The form's caption when no title is given: the executable's name, one
// blank and the version text.
String msgBoxDefaultCaption(const String& exeName, const String& versionText);
// The result code a button keeps in its tag: the leading number of the text,
// rounded; 0 when the text does not begin with one.
std::int32_t msgBoxTagResult(const String& tag);

// Text alignment of the message: 0 left, 1 right, 2 centred. Anything else is
// an invalid property value (error 380).
void checkMsgBoxAlign(std::int32_t align);

struct MsgBoxLayout {
    std::int32_t formLeft = 0, formTop = 0, formWidth = 0, formHeight = 0;
    std::int32_t labelLeft = 0, labelTop = 0, labelWidth = 0, labelHeight = 0;
    std::int32_t buttonTop = 0, buttonWidth = 0, buttonHeight = 0;
    std::vector<std::int32_t> buttonLefts;
};

// Lays the form out, all in twips: `labelWidth`/`labelHeight` are what the
// message needs, `frameHeight` the form's height less its client height, and
// the form is centred on a screen of `screenWidth` x `screenHeight`.
MsgBoxLayout layoutMsgBox(std::size_t buttons, std::int32_t buttonWidth, std::int32_t buttonHeight,
                          double labelWidth, double labelHeight, std::int32_t frameHeight,
                          std::int32_t screenWidth, std::int32_t screenHeight);

// Shows the box and returns the result code of the pressed button; the
// result of the previous press when it is closed without one (0 before any).
std::int32_t myMsgBox(const String& prompt, std::int32_t style, const String& title, std::int32_t align);

}  // namespace qx::ui
