// The round speed button without its widget: the 3-D outline whose two ends are
// half-circles bulging outwards or inwards, drawn on a canvas, the pointer test, and
// the button's published properties with their stored defaults. Pure.
#pragma once

#include "library/effects/PropertyText.h"
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

std::string_view CircleTypeName(TCircleType value);
TCircleType CircleTypeFromName(std::string_view name); // EConvertError when unknown

// The published properties in their published order, with their stored defaults.
const std::vector<TStoredDefault>& VeskSpeedButtonStoredDefaults();

} // namespace vesk
