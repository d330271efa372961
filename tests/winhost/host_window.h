#pragma once
// A small real-window host for the library's window routines: forms and
// controls are Win32 windows wrapped as host objects with the members the
// library reads and assigns (hWnd, hdc, Left, Top, Width, Height, ScaleMode,
// ScaleWidth, ScaleHeight, Controls, the type name, and colour properties
// kept as plain values).
#include <windows.h>

#include <memory>
#include <vector>

#include "core/object.h"

namespace winhost {

constexpr int kTwipsPerPixel = 15;

// A window seen as a host object. Positions and sizes are in twips, except
// ScaleWidth and ScaleHeight, which follow ScaleMode (3: pixels).
class WindowObject : public qx::MemoryObject {
public:
    WindowObject(HWND hwnd, qx::String typeName);
    ~WindowObject() override;

    HWND hwnd() const { return hwnd_; }
    void addControl(const std::shared_ptr<WindowObject>& control);

    qx::Variant get(const qx::String& name) override;
    void set(const qx::String& name, const qx::Variant& value) override;
    qx::Variant call(const qx::String& name, const std::vector<qx::Variant>& args) override;
    bool has(const qx::String& name) override;

private:
    HWND hwnd_;
    std::shared_ptr<qx::MemoryObject> controls_;
    std::int16_t scaleMode_ = 1;
};

// Registers the host's window classes and the common controls, once.
void registerClasses();

// A visible top-level form (own device context, children clipped) of the
// given client size in pixels, at (left, top) on the screen.
std::shared_ptr<WindowObject> makeForm(int left, int top, int width, int height, const char* caption);
// A child control of a form: a tab strip with three tabs whose body is drawn
// in the button-face colour ("SSTab"), a tree
// view with two nodes ("TreeView"), or a push button ("CommandButton").
std::shared_ptr<WindowObject> addTabStrip(WindowObject& form, int x, int y, int w, int h);
std::shared_ptr<WindowObject> addTreeView(WindowObject& form, int x, int y, int w, int h);
std::shared_ptr<WindowObject> addButton(WindowObject& form, int x, int y, int w, int h, const char* caption);

// Lets pending window messages run, for at least `ms` milliseconds.
void pump(int ms = 0);

}  // namespace winhost
