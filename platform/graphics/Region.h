// Window regions as geometry: the set of pixels a shaped window keeps, built from
// rectangles, rounded rectangles and polygons and combined as the host combines them.
// A pixel belongs to a shape when its centre lies inside it; right and bottom edges
// are left out, as with every host rectangle.
#pragma once

#include "platform/graphics/Graphics.h"

#include <map>
#include <utility>
#include <vector>

namespace vesk {

enum class TPolyFillMode { ALTERNATE, WINDING };
enum class TCombineMode { RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF };

class TRegion {
public:
    TRegion() = default;

    static TRegion CreateRectRgn(int left, int top, int right, int bottom);
    // Corners are quarters of an ellipse EllipseWidth wide and EllipseHeight high.
    static TRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                      int ellipseHeight);
    static TRegion CreatePolygonRgn(const std::vector<TPoint>& points, TPolyFillMode mode);
    static TRegion CombineRgn(const TRegion& a, const TRegion& b, TCombineMode mode);

    bool Contains(int x, int y) const;
    bool Empty() const { return FRows.empty(); }
    TRect Bounds() const;
    // The region as rectangles, rows with the same spans joined; for the Qt side.
    std::vector<TRect> Rects() const;

    friend bool operator==(const TRegion&, const TRegion&) = default;

private:
    using TSpans = std::vector<std::pair<int, int>>; // [from, to) sorted, apart
    void SetRow(int y, TSpans spans);

    std::map<int, TSpans> FRows;
};

} // namespace vesk
