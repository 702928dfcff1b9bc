// The pixels of the host's one-pixel lines and arcs, so that every canvas draws
// them alike: a line leaves out its end point, an arc runs counter-clockwise on the
// screen from its start radial to its end radial.
#pragma once

#include "platform/graphics/Graphics.h"

#include <vector>

namespace vesk {

// From From towards To, To itself left out; empty when the two are equal.
std::vector<TPoint> LinePixels(TPoint from, TPoint to);

// The outline of the ellipse that fits in the box (x1, y1)-(x2, y2), right and
// bottom left out, from the radial through (x3, y3) counter-clockwise to the radial
// through (x4, y4); the whole outline when the two radials coincide. Each pixel once.
std::vector<TPoint> ArcPixels(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

} // namespace vesk
