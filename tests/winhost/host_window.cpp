#include "host_window.h"

#include <commctrl.h>

#include "core/error.h"

namespace winhost {

namespace {

constexpr const char* kFormClass = "QXHostForm";

LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(h, msg, wp, lp);
}

// The host's tab strip: the common control draws its tabs and frame, then
// the host fills the page area inside the frame with the button-face colour,
// as a tab strip with a plain body does.
WNDPROC gTabControlProc = nullptr;

void drawTabStrip(HWND h, HDC dc) {
    RECT r{};
    GetClientRect(h, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    CallWindowProcA(gTabControlProc, h, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    InflateRect(&r, -1, -1);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK tabStripProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return CallWindowProcA(gTabControlProc, h, msg, wp, lp);
    if (wp) {
        drawTabStrip(h, reinterpret_cast<HDC>(wp));
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    drawTabStrip(h, dc);
    EndPaint(h, &ps);
    return 0;
}

qx::Variant handleValue(const void* h) {
    return qx::Variant(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(h)));
}

}  // namespace

void registerClasses() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = formProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    done = true;
}

WindowObject::WindowObject(HWND hwnd, qx::String typeName)
    : MemoryObject(std::move(typeName)), hwnd_(hwnd), controls_(qx::MemoryObject::create(u"Object")) {
    // Values the host keeps for the library to read and assign.
    for (const char16_t* name : {u"BackColor", u"ForeColor", u"ForeColorFocus", u"BackStyle"})
        prop(name, std::int32_t{0});
    prop(u"Tag", qx::String());
}

WindowObject::~WindowObject() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void WindowObject::addControl(const std::shared_ptr<WindowObject>& control) {
    addItem(qx::Variant(qx::ObjectRef(control)));
    controls_->addItem(qx::Variant(qx::ObjectRef(control)));
}

bool WindowObject::has(const qx::String& name) {
    for (const char16_t* n : {u"hWnd", u"hdc", u"Left", u"Top", u"Width", u"Height", u"ScaleMode", u"ScaleWidth",
                              u"ScaleHeight", u"Controls", u"Move"})
        if (qx::equalsNoCase(name, n)) return true;
    return MemoryObject::has(name);
}

qx::Variant WindowObject::get(const qx::String& name) {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (HWND parent = GetParent(hwnd_)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const std::int32_t unit = scaleMode_ == 3 ? 1 : kTwipsPerPixel;
    if (qx::equalsNoCase(name, u"hWnd")) return handleValue(hwnd_);
    if (qx::equalsNoCase(name, u"hdc")) return handleValue(GetDC(hwnd_));  // a form's own device context
    if (qx::equalsNoCase(name, u"Left")) return static_cast<std::int32_t>(r.left * kTwipsPerPixel);
    if (qx::equalsNoCase(name, u"Top")) return static_cast<std::int32_t>(r.top * kTwipsPerPixel);
    if (qx::equalsNoCase(name, u"Width")) return static_cast<std::int32_t>((r.right - r.left) * kTwipsPerPixel);
    if (qx::equalsNoCase(name, u"Height")) return static_cast<std::int32_t>((r.bottom - r.top) * kTwipsPerPixel);
    if (qx::equalsNoCase(name, u"ScaleMode")) return scaleMode_;
    if (qx::equalsNoCase(name, u"ScaleWidth")) return static_cast<std::int32_t>(client.right * unit);
    if (qx::equalsNoCase(name, u"ScaleHeight")) return static_cast<std::int32_t>(client.bottom * unit);
    if (qx::equalsNoCase(name, u"Controls")) return qx::Variant(qx::ObjectRef(controls_));
    return MemoryObject::get(name);
}

void WindowObject::set(const qx::String& name, const qx::Variant& value) {
    if (qx::equalsNoCase(name, u"ScaleMode")) {
        scaleMode_ = value.toInt16();
        return;
    }
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (HWND parent = GetParent(hwnd_)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const int px = value.isNumeric() ? static_cast<int>(value.toDouble() / kTwipsPerPixel) : 0;
    if (qx::equalsNoCase(name, u"Left")) MoveWindow(hwnd_, px, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    else if (qx::equalsNoCase(name, u"Top")) MoveWindow(hwnd_, r.left, px, r.right - r.left, r.bottom - r.top, TRUE);
    else if (qx::equalsNoCase(name, u"Width")) MoveWindow(hwnd_, r.left, r.top, px, r.bottom - r.top, TRUE);
    else if (qx::equalsNoCase(name, u"Height")) MoveWindow(hwnd_, r.left, r.top, r.right - r.left, px, TRUE);
    else if (qx::equalsNoCase(name, u"hWnd") || qx::equalsNoCase(name, u"hdc") ||
             qx::equalsNoCase(name, u"ScaleWidth") || qx::equalsNoCase(name, u"ScaleHeight") ||
             qx::equalsNoCase(name, u"Controls"))
        qx::raise(383, u"'Item' property is read-only");
    else MemoryObject::set(name, value);
}

qx::Variant WindowObject::call(const qx::String& name, const std::vector<qx::Variant>& args) {
    if (qx::equalsNoCase(name, u"Move") && args.size() == 4) {
        MoveWindow(hwnd_, static_cast<int>(args[0].toDouble() / kTwipsPerPixel),
                   static_cast<int>(args[1].toDouble() / kTwipsPerPixel),
                   static_cast<int>(args[2].toDouble() / kTwipsPerPixel),
                   static_cast<int>(args[3].toDouble() / kTwipsPerPixel), TRUE);
        return {};
    }
    if (args.empty() && has(name) && !MemoryObject::has(name)) return get(name);
    return MemoryObject::call(name, args);
}

std::shared_ptr<WindowObject> makeForm(int left, int top, int width, int height, const char* caption) {
    registerClasses();
    RECT r{0, 0, width, height};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    AdjustWindowRect(&r, style, FALSE);
    HWND h = CreateWindowExA(0, kFormClass, caption, style, left, top, r.right - r.left, r.bottom - r.top, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!h) return nullptr;
    UpdateWindow(h);
    return std::make_shared<WindowObject>(h, u"Form");
}

namespace {
std::shared_ptr<WindowObject> child(WindowObject& form, const char* cls, const char* text, DWORD style, int x, int y,
                                    int w, int h, const char16_t* type) {
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, w, h, form.hwnd(),
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!c) return nullptr;
    auto obj = std::make_shared<WindowObject>(c, type);
    form.addControl(obj);
    return obj;
}
}  // namespace

std::shared_ptr<WindowObject> addTabStrip(WindowObject& form, int x, int y, int w, int h) {
    auto tabs = child(form, WC_TABCONTROLA, "", 0, x, y, w, h, u"SSTab");
    if (!tabs) return nullptr;
    gTabControlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tabs->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&tabStripProc)));
    const char* names[] = {"General", "Colours", "Folders"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(tabs->hwnd(), TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    return tabs;
}

std::shared_ptr<WindowObject> addTreeView(WindowObject& form, int x, int y, int w, int h) {
    auto tree = child(form, WC_TREEVIEWA, "", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, x, y, w, h, u"TreeView");
    if (!tree) return nullptr;
    auto nodes = qx::MemoryObject::create(u"Nodes");
    for (const char* text : {"Logs", "Settings"}) {
        TVINSERTSTRUCTA ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(text);
        SendMessageA(tree->hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
        auto node = qx::MemoryObject::create(u"Node");
        node->prop(u"BackColor", std::int32_t{0});
        nodes->addItem(qx::Variant(qx::ObjectRef(node)));
    }
    tree->prop(u"Nodes", qx::Variant(qx::ObjectRef(nodes)));
    return tree;
}

std::shared_ptr<WindowObject> addButton(WindowObject& form, int x, int y, int w, int h, const char* caption) {
    return child(form, "BUTTON", caption, BS_PUSHBUTTON, x, y, w, h, u"CommandButton");
}

void pump(int ms) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms > 0) Sleep(5);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

}  // namespace winhost
