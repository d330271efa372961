#include "ui/centring.h"

#include <cstdint>

#include "core/error.h"
#include "core/screen.h"

namespace qx::ui {

namespace {

Object& need(const ObjectRef& obj) {
    if (!obj) raise(err::ObjectNotSet);
    return *obj;
}

double number(Object& obj, const char16_t* name) { return obj.get(name).toDouble(); }

}  // namespace

double centredStart(double start, double span, double length) { return start + span / 2 - length / 2; }

void centerObject(const ObjectRef& obj) {
    Object& o = need(obj);
    Screen& s = screen();
    s.setMousePointer(11);
    o.set(u"Top", Variant(centredStart(0, s.height(), number(o, u"Height"))));
    o.set(u"Left", Variant(centredStart(0, s.width(), number(o, u"Width"))));
    s.setMousePointer(0);
    doEvents();
}

void centerOn(const ObjectRef& obj, const ObjectRef& target) {
    Object& o = need(obj);
    // The size is put back afterwards, in case moving the object made the host resize it.
    const std::int32_t height = o.get(u"Height").toInt32();
    const std::int32_t width = o.get(u"Width").toInt32();
    Screen& s = screen();
    s.setMousePointer(11);
    Object& t = need(target);
    o.set(u"Top", Variant(centredStart(number(t, u"Top"), number(t, u"Height"), number(o, u"Height"))));
    o.set(u"Left", Variant(centredStart(number(t, u"Left"), number(t, u"Width"), number(o, u"Width"))));
    s.setMousePointer(0);
    doEvents();
    o.set(u"Height", Variant(height));
    o.set(u"Width", Variant(width));
}

}  // namespace qx::ui
