#pragma once
// Host forms and controls built in memory for the tests of the routines that act on them.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/object.h"

namespace qxtest {

using MemoryRef = std::shared_ptr<qx::MemoryObject>;

// A control whose Move assigns Left, Top, Width and Height, as the host's controls do.
inline MemoryRef control(double left, double top, double width, double height, bool enabled = true) {
    auto c = qx::MemoryObject::create(u"CommandButton");
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

// A form with its controls both in its Controls collection and enumerated from the form itself.
inline MemoryRef form(const qx::String& name, std::initializer_list<MemoryRef> controls, double width = 10000,
                      double height = 8000) {
    auto coll = qx::MemoryObject::create(u"Object");
    auto f = qx::MemoryObject::create(u"Form");
    for (const MemoryRef& c : controls) {
        coll->addItem(qx::ObjectRef(c));
        f->addItem(qx::ObjectRef(c));
    }
    f->prop(u"Name", name).prop(u"Width", width).prop(u"Height", height).prop(u"Top", 0.0).prop(u"Left", 0.0);
    f->prop(u"ScaleMode", std::int16_t{1}).prop(u"BackColor", std::int32_t{0x123456});
    f->prop(u"Controls", qx::ObjectRef(coll));
    return f;
}

inline bool enabled(const MemoryRef& c) { return c->get(u"Enabled").toBool(); }
inline double num(const MemoryRef& c, const char16_t* name) { return c->get(name).toDouble(); }

}  // namespace qxtest
