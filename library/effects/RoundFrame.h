// The round speed button without its widget: the 3-D outline whose two ends are
// half-circles bulging outwards or inwards, drawn on a canvas, the pointer test, and
// the class's description. Pure.
#pragma once

#include "platform/design/ClassRegistry.h"
#include "platform/graphics/Graphics.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vesk {

// The shape of one end: ctRaised bulges outwards, ctLowered into the button.
enum TCircleType : std::uint8_t { ctLowered, ctRaised };

// Draws the outline in Rect (taken by value: the inner ring shrinks this copy).
// Enabled is accepted but the outline looks the same either way.
void DrawRoundFrame(TRect rect, int radius, TCanvas& canvas, bool enabled, bool flat, bool pressed,
                    bool mouseOver, TCircleType leftBorder, TCircleType rightBorder);

// True when Point lies in Rect with all four edges counted in; the corners outside a
// round outline count too.
bool PointInClientRect(const TRect& rect, TPoint point);

// Registers the description of TVeskSpeedButton, once: Radius, LeftBorder and
// RightBorder, none with a stored default; the host button's own it inherits.
TClassInfo& DescribeVeskSpeedButton();

} // namespace vesk
