#include "ui/msgbox_form.h"

#include <cmath>

#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/state.h"
#include "ui/centring.h"
#include "ui/msgbox_form_sys.h"

namespace qx::ui {

namespace {

constexpr MsgBoxButton kOk{u"&Ok", 1};
constexpr MsgBoxButton kCancel{u"&Cancel", 2};
constexpr MsgBoxButton kAbort{u"&Abort", 3};
constexpr MsgBoxButton kRetry{u"&Retry", 4};
constexpr MsgBoxButton kIgnore{u"&Ignore", 5};
constexpr MsgBoxButton kYes{u"&Yes", 6};
constexpr MsgBoxButton kNo{u"&No", 7};

std::int32_t rounded(double v) { return toInt32(v); }

}  // namespace

std::vector<MsgBoxButton> msgBoxButtons(std::int32_t style) {
    switch (style & 7) {
        case 1: return {kOk, kCancel};
        case 2: return {kAbort, kRetry, kIgnore};
        case 3: return {kYes, kNo, kCancel};
        case 4: return {kYes, kNo};
        case 5: return {kRetry, kCancel};
        default: return {kOk};
    }
}

std::size_t msgBoxFocus(std::int32_t style, std::size_t buttonCount) {
    const auto wanted = static_cast<std::size_t>((style & 0x300) >> 8);
    return wanted < buttonCount ? wanted : 0;
}

String msgBoxDefaultCaption(const String& exeName, const String& versionText) {
    return exeName + u" " + versionText;
}

std::int32_t msgBoxTagResult(const String& tag) {
    std::size_t i = 0;
    while (i < tag.size() && (tag[i] == u' ' || tag[i] == u'\t')) ++i;
    double sign = 1;
    if (i < tag.size() && (tag[i] == u'-' || tag[i] == u'+')) sign = tag[i++] == u'-' ? -1 : 1;
    double value = 0;
    while (i < tag.size() && tag[i] >= u'0' && tag[i] <= u'9') value = value * 10 + (tag[i++] - u'0');
    if (i < tag.size() && tag[i] == u'.') {
        double scale = 0.1;
        for (++i; i < tag.size() && tag[i] >= u'0' && tag[i] <= u'9'; ++i, scale /= 10) value += (tag[i] - u'0') * scale;
    }
    return rounded(sign * value);
}

void checkMsgBoxAlign(std::int32_t align) {
    if (align < 0 || align > 2) raise(380, u"Invalid property value");
}

MsgBoxLayout layoutMsgBox(std::size_t buttons, std::int32_t buttonWidth, std::int32_t buttonHeight,
                          double labelWidth, double labelHeight, std::int32_t frameHeight,
                          std::int32_t screenWidth, std::int32_t screenHeight) {
    const double n = static_cast<double>(buttons);
    double row = (n + 1) * 200 + n * buttonWidth;
    if (labelWidth > row) row = rounded(labelWidth);
    const std::int32_t gap = buttons > 1 ? rounded((row - n * buttonWidth) / n) : rounded((row - buttonWidth) / 2);

    MsgBoxLayout l;
    l.formWidth = rounded(row * 1.1);
    l.formHeight = rounded(2.5 * buttonHeight + labelHeight);
    l.labelLeft = kMsgLabelOffset;
    l.labelTop = kMsgLabelOffset;
    l.labelWidth = rounded(row);
    l.labelHeight = rounded(labelHeight);
    l.buttonWidth = buttonWidth;
    l.buttonHeight = buttonHeight;
    const double clientHeight = l.formHeight - frameHeight;
    l.buttonTop = rounded((clientHeight - buttonHeight) * 0.98);
    double x = gap;
    for (std::size_t i = 0; i < buttons; ++i) {
        l.buttonLefts.push_back(rounded(x));
        x += buttonWidth + gap;
    }
    l.formLeft = rounded(centredStart(0, screenWidth, l.formWidth));
    l.formTop = rounded(centredStart(0, screenHeight, l.formHeight));
    return l;
}

std::int32_t myMsgBox(const String& prompt, std::int32_t style, const String& title, std::int32_t align) {
    LibraryState& st = state();
    // Loading the form gives it the default caption, whether a title follows or not.
    const String loadCaption = msgBoxDefaultCaption(host::exeName(st.HostApp), getVersion());
    checkMsgBoxAlign(align);

    MsgBoxRequest request;
    request.caption = title.empty() ? loadCaption : title;
    request.prompt = prompt;
    request.style = style;
    request.align = align;
    request.buttons = msgBoxButtons(style);
    request.focus = msgBoxFocus(style, request.buttons.size());

    const MsgTextSize text = measureMsgText(prompt);
    Screen& s = screen();
    const MsgBoxLayout layout = layoutMsgBox(request.buttons.size(), kMsgButtonWidth, kMsgButtonHeight, text.width,
                                             text.height, msgFrameHeight(), s.width(), s.height());
    const std::int32_t pressed = showMsgBox(request, layout);
    if (pressed != 0) st.MsgBoxResult = pressed;
    return st.MsgBoxResult;
}

}  // namespace qx::ui
