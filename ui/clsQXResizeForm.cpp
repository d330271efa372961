#include "ui/clsQXResizeForm.h"

#include <algorithm>
#include <cmath>

#include "core/error.h"
#include "core/numeric.h"
#include "ui/controls.h"

namespace qx {

namespace ui {

float resizeFactor(std::int32_t formSize, double farthestEdge) {
    if (!(farthestEdge >= 1)) return 1.0f;
    // Step by step, each result a double, as the host works it out: the
    // truncation to two decimals sees the same value on every processor.
    double percent = static_cast<double>(formSize) / farthestEdge;
    percent = percent * 100;
    const double truncated = std::floor(percent) / 100;
    return static_cast<float>(truncated);
}

std::int32_t scaledLength(double value, float factor) { return toInt32(value * static_cast<double>(factor)); }

}  // namespace ui

namespace {

Object& need(const ObjectRef& obj) {
    if (!obj) raise(err::ObjectNotSet);
    return *obj;
}

}  // namespace

void clsQXResizeForm::InitResizeArray(const ObjectRef& frm) {
    // When the controls cannot be listed the table keeps its size.
    std::vector<Variant> controls;
    bool listed = false;
    ui::skipFailure([&] {
        controls = ui::controlsOf(frm);
        listed = true;
    });
    if (listed) factors_.assign(controls.size(), ui::ResizeFactors{});

    ui::skipFailure([&] { scaleMode_ = need(frm).get(u"ScaleMode").toInt16(); });
    std::int32_t formWidth = 0;
    std::int32_t formHeight = 0;
    ui::skipFailure([&] { formWidth = need(frm).get(u"Width").toInt32(); });
    ui::skipFailure([&] { formHeight = need(frm).get(u"Height").toInt32(); });

    // The farthest right and bottom edges of the controls that reach past the
    // form; controls without a position (reading fails) take no part.
    double maxRight = 0;
    double maxBottom = 0;
    for (const Variant& c : controls) {
        ui::skipFailure([&] {
            Object& ctl = need(c.toObject());
            const double right = ctl.get(u"Left").toDouble() + ctl.get(u"Width").toDouble();
            if (right > formWidth && right > maxRight) maxRight = right;
        });
        ui::skipFailure([&] {
            Object& ctl = need(c.toObject());
            const double bottom = ctl.get(u"Top").toDouble() + ctl.get(u"Height").toDouble();
            if (bottom > formHeight && bottom > maxBottom) maxBottom = bottom;
        });
    }

    const float horizontal = ui::resizeFactor(formWidth, maxRight);
    const float vertical = ui::resizeFactor(formHeight, maxBottom);
    for (ui::ResizeFactors& f : factors_) f = ui::ResizeFactors{vertical, horizontal, vertical, horizontal};
    initialised_ = true;
}

void clsQXResizeForm::ResizeControls(const ObjectRef& frm) {
    if (!initialised_) return;
    ui::skipFailure([&] { need(frm).set(u"ScaleMode", Variant(scaleMode_)); });

    std::vector<Variant> controls;
    ui::skipFailure([&] { controls = ui::controlsOf(frm); });
    // Controls beyond those measured (added since) are left alone, and
    // measured ones the form no longer has are passed over.
    const std::size_t n = std::min(controls.size(), factors_.size());
    for (std::size_t i = 0; i < n; ++i) {
        ui::skipFailure([&] {
            Object& ctl = need(controls[i].toObject());
            // A control without a Tag cannot be marked and is resized.
            String tag;
            ui::skipFailure([&] { tag = ctl.get(u"Tag").toString(); });
            if (equalsNoCase(tag, u"NoResize")) return;
            const ui::ResizeFactors& f = factors_[i];
            const std::int32_t left = ui::scaledLength(ctl.get(u"Left").toDouble(), f.Left);
            const std::int32_t top = ui::scaledLength(ctl.get(u"Top").toDouble(), f.Top);
            const std::int32_t width = ui::scaledLength(ctl.get(u"Width").toDouble(), f.Width);
            const std::int32_t height = ui::scaledLength(ctl.get(u"Height").toDouble(), f.Height);
            ctl.call(u"Move", {Variant(left), Variant(top), Variant(width), Variant(height)});
        });
    }
}

}  // namespace qx
