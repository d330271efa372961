#pragma once
// Host forms and controls built in memory for the tests of the routines that
// act on them: a form with a Controls collection, and controls with a
// position, a size, Enabled, Tag and a Move method that records its calls.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/object.h"

namespace qxtest {

using MemoryRef = std::shared_ptr<qx::MemoryObject>;

// A control with Left, Top, Width, Height, Enabled and Tag; Move assigns the
// four values it is given, as the host's controls do.
inline MemoryRef control(double left, double top, double width, double height, bool enabled = true,
                         const qx::String& type = u"CommandButton") {
    auto c = qx::MemoryObject::create(type);
    qx::MemoryObject* self = c.get();
    c->prop(u"Left", left).prop(u"Top", top).prop(u"Width", width).prop(u"Height", height);
    c->prop(u"Enabled", enabled).prop(u"Tag", u"");
    c->method(u"Move", [self](const std::vector<qx::Variant>& a) {
        const char16_t* names[] = {u"Left", u"Top", u"Width", u"Height"};
        for (std::size_t i = 0; i < a.size() && i < 4; ++i) self->set(names[i], a[i]);
        return qx::Variant();
    });
    return c;
}

// A control the host draws without a window: no Enabled, no position.
inline MemoryRef lineControl() { return qx::MemoryObject::create(u"Line"); }

// A form with Name, Width, Height, ScaleMode, Top, Left and a Controls
// collection holding the controls in the given order.
inline MemoryRef form(const qx::String& name, std::initializer_list<MemoryRef> controls, double width = 10000,
                      double height = 8000) {
    auto coll = qx::MemoryObject::create(u"Object");
    for (const MemoryRef& c : controls) coll->addItem(qx::ObjectRef(c));
    auto f = qx::MemoryObject::create(u"Form");
    f->prop(u"Name", name).prop(u"Width", width).prop(u"Height", height).prop(u"ScaleMode", std::int16_t{1});
    f->prop(u"Top", 0.0).prop(u"Left", 0.0).prop(u"MousePointer", std::int16_t{0});
    f->prop(u"Controls", qx::ObjectRef(coll));
    return f;
}

inline MemoryRef controlsOf(const MemoryRef& f) {
    return std::dynamic_pointer_cast<qx::MemoryObject>(f->get(u"Controls").toObject());
}

inline bool enabled(const MemoryRef& c) { return c->get(u"Enabled").toBool(); }
inline double num(const MemoryRef& c, const char16_t* name) { return c->get(name).toDouble(); }

}  // namespace qxtest
