#pragma once
// Proportional resizing of one form's controls. InitResizeArray measures the
// form once: when controls reach past its width or height, it works out the
// factors that bring the farthest edge inside; ResizeControls then scales the
// position and size of every control by them (each call scales again).
// Neither method raises: a failing member of the form or a control is skipped.
#include <cstdint>
#include <vector>

#include "core/object.h"

namespace qx {

namespace ui {

// The factor for one direction: 1 when nothing reaches past the form's size,
// else form size / farthest edge truncated to two decimals (0.83 for 10000 / 12000).
float resizeFactor(std::int32_t formSize, double farthestEdge);

// A position or size scaled by a factor, rounded to the nearest integer with
// ties to even; raises 6 beyond the 32-bit range.
std::int32_t scaledLength(double value, float factor);

// Factors of one control, in the order the class keeps them.
struct ResizeFactors {
    float Height = 1.0f;
    float Width = 1.0f;
    float Top = 1.0f;
    float Left = 1.0f;
};

}  // namespace ui

class clsQXResizeForm {
public:
    void InitResizeArray(const ObjectRef& frm);
    void ResizeControls(const ObjectRef& frm);

    // The factor table as InitResizeArray left it, one record per control.
    const std::vector<ui::ResizeFactors>& factors() const { return factors_; }
    bool initialised() const { return initialised_; }

private:
    std::vector<ui::ResizeFactors> factors_;
    bool initialised_ = false;
    std::int16_t scaleMode_ = 0;
};

}  // namespace qx
