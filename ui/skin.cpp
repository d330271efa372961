#include "ui/skin.h"

#include <functional>
#include <limits>

#include "core/error.h"
#include "core/state.h"
#include "ui/skin_sys.h"
#include "ui/tabpaint.h"
#include "ui/tabpaint_sys.h"

namespace qx::ui {

namespace {

// Runs one step of a skin; a failing step is skipped.
void step(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RuntimeError&) {
        // skipped: the next step or control goes on
    }
}

void assign(const ObjectRef& o, const char16_t* name, const Variant& value) {
    step([&] { o->set(name, value); });
}

// A window handle or device context read from a host object.
std::intptr_t handleOf(const ObjectRef& o, const char16_t* name) {
    const Variant v = o->get(name);
    if (!v.isNumeric()) raise(err::TypeMismatch);
    return static_cast<std::intptr_t>(static_cast<std::int64_t>(v.toDouble()));
}

// Calls fn for every control that `container` yields, with its type name.
void forEachItem(const std::vector<Variant>& items, const std::function<void(const ObjectRef&, const String&)>& fn) {
    for (const Variant& item : items) {
        step([&] {
            const ObjectRef control = item.toObject();
            if (!control) return;
            const String type = control->typeName();
            fn(control, type);
        });
    }
}

// The controls a form yields when it is enumerated itself.
std::vector<Variant> enumerated(const ObjectRef& container) {
    std::vector<Variant> items;
    if (container) step([&] { items = container->items(); });
    return items;
}

// The controls of a form's Controls collection.
std::vector<Variant> controlsOf(const ObjectRef& form) {
    std::vector<Variant> items;
    if (form) step([&] {
            const ObjectRef controls = form->get(u"Controls").toObject();
            if (controls) items = controls->items();
        });
    return items;
}

void backgroundGradient(const ObjectRef& form, std::int32_t top, std::int32_t bottom) {
    step([&] {
        form->set(u"ScaleMode", Variant(std::int16_t{3}));
        const double w = form->get(u"ScaleWidth").toDouble();
        const double h = form->get(u"ScaleHeight").toDouble();
        skin::fillVerticalGradient(handleOf(form, u"hdc"), static_cast<std::int32_t>(w), static_cast<std::int32_t>(h),
                                   top, bottom);
    });
}

}  // namespace

void skinIt(const ObjectRef& form, std::int32_t buttonTabColour, std::int32_t buttonTabTextColour,
            std::int32_t buttonTabColourGradient, std::int32_t backGroundColour, std::int32_t backColourToGradient,
            std::int32_t rtfColour, std::int32_t direction) {
    SkinColours& stored = state().Skin;
    stored.ButtonColor = buttonTabColour;
    stored.ButtonTextColor = buttonTabTextColour;
    stored.ButtonGradientColor = buttonTabColourGradient;
    stored.BackgroundColor = backGroundColour;
    stored.GradientTarget = backColourToGradient;
    stored.DisplayColor = backGroundColour;
    if (!form) return;

    Variant scaleMode;
    bool haveScaleMode = false;
    step([&] {
        scaleMode = form->get(u"ScaleMode");
        haveScaleMode = true;
    });

    std::int32_t background = backGroundColour;
    if (background == kColourNotGiven) step([&] { background = form->get(u"BackColor").toInt32(); });
    const std::int32_t target = backColourToGradient == kColourNotGiven ? 0xFFFFFF : backColourToGradient;
    const std::int32_t buttonGradient = buttonTabColourGradient == kColourNotGiven ? 0xFFFFFF : buttonTabColourGradient;

    showFormColour(form, background);

    forEachItem(enumerated(form), [&](const ObjectRef& control, const String& type) {
        if (type != u"SSTab") return;
        const tab::WindowHandle hwnd = handleOf(control, u"hWnd");
        tab::setStyle(hwnd, tab::kGradient);
        tab::setDirection(hwnd, direction);
        tab::setColour1(hwnd, buttonTabColour);
        tab::setColour2(hwnd, buttonGradient);
        tab::hook(hwnd);
        tab::invalidate(hwnd);
    });

    if (rtfColour != kColourNotGiven) showDisplayColour(form, rtfColour);
    backgroundGradient(form, background, target);
    showButtonTabColour(form, buttonTabColour);
    showButtonTabTextColour(form, buttonTabTextColour);
    if (haveScaleMode) assign(form, u"ScaleMode", scaleMode);
}

void showButtonTabColour(const ObjectRef& container, std::int32_t colour) {
    forEachItem(enumerated(container), [&](const ObjectRef& c, const String& type) {
        if (type == u"CommandButton" || type == u"MyButton") {
            assign(c, u"BackColor", Variant(colour));
            assign(c, u"MaskColor", Variant(colour));
            assign(c, u"BackColorFocus", Variant(colour));
            if (colour <= std::numeric_limits<std::int32_t>::max() - 100)
                assign(c, u"BackColorOver", Variant(std::int32_t{colour + 100}));
            assign(c, u"BackColorDown", Variant(std::int32_t{0x40C0}));
            assign(c, u"BackColorDisabled", Variant(std::int32_t{0xC0C0C0}));
            assign(c, u"MaskColor", Variant(std::int32_t{0xFF00FF}));
            assign(c, u"ToolTipStyle", Variant(std::int32_t{1}));
            assign(c, u"Appearance", Variant(std::int32_t{9}));
            assign(c, u"AppearanceThemes", Variant(std::int32_t{1}));
            assign(c, u"GradientType", Variant(std::int32_t{3}));
        } else if (type == u"Label") {
            assign(c, u"BackStyle", Variant(std::int16_t{0}));
        }
    });
}

void showButtonTabTextColour(const ObjectRef& container, std::int32_t colour) {
    forEachItem(enumerated(container), [&](const ObjectRef& c, const String& type) {
        if (type == u"CommandButton" || type == u"MyButton" || type == u"SSTab") {
            assign(c, u"ForeColor", Variant(colour));
            assign(c, u"ForeColorFocus", Variant(colour));
        } else if (type == u"Label") {
            assign(c, u"BackStyle", Variant(std::int16_t{0}));
        }
    });
}

void showFormColour(const ObjectRef& form, std::int32_t colour) {
    if (!form) return;
    assign(form, u"BackColor", Variant(colour));
    forEachItem(controlsOf(form), [&](const ObjectRef& c, const String& type) {
        if (type == u"CheckBox") {
            assign(c, u"Width", Variant(std::int32_t{190}));
            assign(c, u"Height", Variant(std::int32_t{110}));
        } else if (type == u"OptionButton") {
            assign(c, u"Width", Variant(std::int32_t{190}));
            assign(c, u"Height", Variant(std::int32_t{90}));
        } else if (type == u"Label") {
            assign(c, u"BackStyle", Variant(std::int16_t{0}));
        }
        if (type == u"Frame" || type == u"PictureBox" || type == u"OptionButton" || type == u"CheckBox") {
            String tag;
            step([&] { tag = c->get(u"Tag").toString(); });
            if (tag != u"NoChange") assign(c, u"BackColor", Variant(colour));
        }
    });
}

void showDisplayColour(const ObjectRef& form, std::int32_t colour) {
    forEachItem(controlsOf(form), [&](const ObjectRef& c, const String& type) {
        if (type == u"MSHFlexGrid") {
            assign(c, u"BackColorBkg", Variant(colour));
        } else if (type == u"RichTextBox" || type == u"ListBox" || type == u"ListView") {
            assign(c, u"BackColor", Variant(colour));
        } else if (type == u"TreeView") {
            setTreeViewBackColour(form, colour);
        }
    });
}

void setListViewBackColour(const ObjectRef& container, std::int32_t colour) {
    forEachItem(enumerated(container), [&](const ObjectRef& c, const String& type) {
        if (type == u"ListView") assign(c, u"BackColor", Variant(colour));
    });
}

void setTreeViewBackColour(const ObjectRef& container, std::int32_t colour) {
    forEachItem(enumerated(container), [&](const ObjectRef& c, const String& type) {
        if (type != u"TreeView") return;
        step([&] {
            const ObjectRef nodes = c->get(u"Nodes").toObject();
            if (!nodes) return;
            forEachItem(nodes->items(), [&](const ObjectRef& node, const String&) {
                assign(node, u"BackColor", Variant(colour));
            });
        });
        step([&] { skin::setTreeViewWindowColour(handleOf(c, u"hwnd"), colour); });
    });
}

}  // namespace qx::ui
