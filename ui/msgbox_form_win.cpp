// The message box as a window of the library's own: a static label for the
// message, owner-drawn push buttons and a background gradient in the skin
// stored at the time of each paint, shown modal to the thread's active
// window with a message loop of its own.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/screen.h"
#include "core/state.h"
#include "ui/msgbox_form_sys.h"
#include "ui/skin_sys.h"

namespace qx::ui {

namespace {

constexpr wchar_t kClassName[] = L"QXGenRtnsMsgBox";
constexpr int kLabelId = 50;
constexpr int kFirstButtonId = 100;
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME;

std::wstring wide(const String& s) { return std::wstring(s.begin(), s.end()); }

COLORREF colour(std::int32_t c) { return static_cast<COLORREF>(c) & 0xFFFFFF; }

// Times New Roman 9.75 pt, for the label and the buttons (bold) or the form.
HFONT messageFont(bool bold) {
    HDC screenDc = GetDC(nullptr);
    const int height = -MulDiv(975, GetDeviceCaps(screenDc, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screenDc);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN,
                       L"Times New Roman");
}

int toPixels(std::int32_t twips, std::int32_t perPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / (perPixel > 0 ? perPixel : 15)));
}

struct Dialog {
    const MsgBoxRequest* request = nullptr;
    std::vector<HWND> buttons;
    std::vector<String> tags;
    HFONT font = nullptr;
    HWND disabledOwner = nullptr;  // the owner this box disabled, to enable again
    std::int32_t result = 0;
    bool closed = false;
};

Dialog* dialogOf(HWND form) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(form, GWLP_USERDATA)); }

// Closing is posted, so that the button's own click handling ends before its window goes.
void press(HWND form, Dialog& d, std::size_t i) {
    d.result = msgBoxTagResult(d.tags[i]);
    if (i + 1 >= 1 && i + 1 <= 7) PostMessageW(form, WM_CLOSE, 0, 0);
}

void drawButton(const Dialog& d, const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    HBRUSH face = CreateSolidBrush(colour(state().Skin.ButtonColor));
    FillRect(item.hDC, &r, face);
    DeleteObject(face);
    DrawEdge(item.hDC, &r, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    wchar_t text[64] = {};
    GetWindowTextW(item.hwndItem, text, 64);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, colour(state().Skin.ButtonTextColor));
    HGDIOBJ old = SelectObject(item.hDC, d.font);
    DrawTextW(item.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, old);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -4, -4);
        DrawFocusRect(item.hDC, &r);
    }
}

LRESULT CALLBACK formProc(HWND form, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* d = dialogOf(form);
    switch (msg) {
        case WM_ERASEBKGND:
            if (d) {
                RECT r{};
                GetClientRect(form, &r);
                // The skin stored now: its background colour, shading to white downwards.
                if (skin::fillVerticalGradient(static_cast<std::intptr_t>(reinterpret_cast<UINT_PTR>(wp)), r.right,
                                               r.bottom, state().Skin.BackgroundColor, 0xFFFFFF))
                    return 1;
            }
            break;
        case WM_CTLCOLORSTATIC:
            SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        case WM_DRAWITEM:
            if (d && wp >= kFirstButtonId) {
                drawButton(*d, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
                return TRUE;
            }
            break;
        case WM_COMMAND:
            if (d && HIWORD(wp) == BN_CLICKED) {
                const int id = LOWORD(wp);
                if (id >= kFirstButtonId && id < kFirstButtonId + static_cast<int>(d->buttons.size())) {
                    press(form, *d, static_cast<std::size_t>(id - kFirstButtonId));
                } else if (id == IDOK) {
                    // Enter: the button that has the focus.
                    const HWND focus = GetFocus();
                    for (std::size_t i = 0; i < d->buttons.size(); ++i)
                        if (d->buttons[i] == focus) {
                            press(form, *d, i);
                            break;
                        }
                }
                return 0;
            }
            break;
        case WM_CLOSE:
            // The owner is enabled again first, so that it, not another program, becomes active.
            if (d && d->disabledOwner) EnableWindow(d->disabledOwner, TRUE);
            DestroyWindow(form);
            return 0;
        case WM_DESTROY:
            if (d) d->closed = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(form, msg, wp, lp);
}

void registerClass() {
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), kClassName, &wc)) return;
    wc.lpfnWndProc = formProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
}

}  // namespace

MsgTextSize measureMsgText(const String& prompt) {
    HFONT font = messageFont(true);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const std::wstring text = wide(prompt);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    Screen& s = screen();
    return {static_cast<double>(r.right - r.left) * s.twipsPerPixelX(),
            static_cast<double>(r.bottom - r.top) * s.twipsPerPixelY()};
}

std::int32_t msgFrameHeight() {
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
    return (r.bottom - r.top - 100) * screen().twipsPerPixelY();
}

std::int32_t showMsgBox(const MsgBoxRequest& request, const MsgBoxLayout& layout) {
    MessageBeep(MB_OK);
    registerClass();
    Screen& s = screen();
    const std::int32_t tx = s.twipsPerPixelX(), ty = s.twipsPerPixelY();
    const HWND owner = GetActiveWindow();

    Dialog d;
    d.request = &request;
    d.font = messageFont(true);
    const std::wstring caption = wide(request.caption);
    HWND form = CreateWindowExW(kFormExStyle, kClassName, caption.c_str(), kFormStyle, toPixels(layout.formLeft, tx),
                                toPixels(layout.formTop, ty), toPixels(layout.formWidth, tx),
                                toPixels(layout.formHeight, ty), owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!form) {
        DeleteObject(d.font);
        raise(err::ActionNotSupported);
    }
    SetWindowLongPtrW(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&d));

    static constexpr DWORD kAlign[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    const std::wstring prompt = wide(request.prompt);
    HWND label = CreateWindowExW(0, L"STATIC", prompt.c_str(),
                                 WS_CHILD | WS_VISIBLE | SS_NOPREFIX | kAlign[request.align],
                                 toPixels(layout.labelLeft, tx), toPixels(layout.labelTop, ty),
                                 toPixels(layout.labelWidth, tx), toPixels(layout.labelHeight, ty), form,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
    for (std::size_t i = 0; i < request.buttons.size(); ++i) {
        const std::wstring text = wide(request.buttons[i].caption);
        HWND b = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                 toPixels(layout.buttonLefts[i], tx), toPixels(layout.buttonTop, ty),
                                 toPixels(layout.buttonWidth, tx), toPixels(layout.buttonHeight, ty), form,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + static_cast<int>(i))),
                                 nullptr, nullptr);
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
        d.buttons.push_back(b);
        d.tags.push_back(fromNarrow(std::to_string(request.buttons[i].result)));
    }

    if (owner && IsWindowEnabled(owner)) {
        d.disabledOwner = owner;
        EnableWindow(owner, FALSE);
    }
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
    SetFocus(d.buttons[0]);
    SetFocus(d.buttons[request.focus]);

    MSG msg{};
    bool quit = false;
    while (!d.closed) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (!IsDialogMessageW(form, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (!d.closed) DestroyWindow(form);
    if (d.disabledOwner) {
        EnableWindow(d.disabledOwner, TRUE);
        SetActiveWindow(d.disabledOwner);
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    DeleteObject(d.font);
    return d.result;
}

}  // namespace qx::ui
