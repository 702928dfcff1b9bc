#include "platform/graphics/Region.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

namespace vesk {

namespace {

// Pixels whose centres lie in [from, to): from ceil(from - 0.5) up to ceil(to - 0.5).
std::pair<int, int> CentresWithin(double from, double to) {
    return {int(std::ceil(from - 0.5)), int(std::ceil(to - 0.5))};
}

bool Apply(TCombineMode mode, bool inA, bool inB) {
    switch (mode) {
    case TCombineMode::RGN_AND:
        return inA && inB;
    case TCombineMode::RGN_OR:
        return inA || inB;
    case TCombineMode::RGN_XOR:
        return inA != inB;
    case TCombineMode::RGN_DIFF:
        return inA && !inB;
    }
    return false;
}

using TSpans = std::vector<std::pair<int, int>>;

bool InSpans(const TSpans& spans, int x) {
    for (const auto& [from, to] : spans)
        if (x >= from && x < to)
            return true;
    return false;
}

TSpans CombineSpans(const TSpans& a, const TSpans& b, TCombineMode mode) {
    std::set<int> edges;
    for (const auto& [from, to] : a) {
        edges.insert(from);
        edges.insert(to);
    }
    for (const auto& [from, to] : b) {
        edges.insert(from);
        edges.insert(to);
    }
    TSpans result;
    for (auto it = edges.begin(); it != edges.end() && std::next(it) != edges.end(); ++it) {
        const int from = *it;
        const int to = *std::next(it);
        if (!Apply(mode, InSpans(a, from), InSpans(b, from)))
            continue;
        if (!result.empty() && result.back().second == from)
            result.back().second = to;
        else
            result.emplace_back(from, to);
    }
    return result;
}

} // namespace

void TRegion::SetRow(int y, TSpans spans) {
    if (spans.empty())
        FRows.erase(y);
    else
        FRows[y] = std::move(spans);
}

TRegion TRegion::CreateRectRgn(int left, int top, int right, int bottom) {
    TRegion region;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right)
        return region;
    for (int y = top; y < bottom; ++y)
        region.SetRow(y, {{left, right}});
    return region;
}

TRegion TRegion::CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                    int ellipseHeight) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const double rx = std::min(std::abs(ellipseWidth), right - left) / 2.0;
    const double ry = std::min(std::abs(ellipseHeight), bottom - top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return CreateRectRgn(left, top, right, bottom);
    TRegion region;
    const double leftCentre = left + rx;
    const double rightCentre = right - rx;
    for (int y = top; y < bottom; ++y) {
        const double centreY = y + 0.5;
        double inset = 0; // how far the corner ellipse keeps this row from the sides
        const double topCentre = top + ry;
        const double bottomCentre = bottom - ry;
        double dy = 0;
        if (centreY < topCentre)
            dy = topCentre - centreY;
        else if (centreY > bottomCentre)
            dy = centreY - bottomCentre;
        if (dy > 0) {
            const double t = dy / ry;
            inset = rx - rx * std::sqrt(std::max(0.0, 1 - t * t));
        }
        const auto [from, to] = CentresWithin(leftCentre - rx + inset, rightCentre + rx - inset);
        if (from < to)
            region.SetRow(y, {{from, to}});
    }
    return region;
}

TRegion TRegion::CreatePolygonRgn(const std::vector<TPoint>& points, TPolyFillMode mode) {
    TRegion region;
    if (points.size() < 3)
        return region;
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (const TPoint& p : points) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    for (int y = top; y < bottom; ++y) {
        const double scan = y + 0.5;
        std::vector<std::pair<double, int>> crossings; // x and winding direction
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint& p = points[i];
            const TPoint& q = points[(i + 1) % points.size()];
            if (p.Y == q.Y)
                continue;
            const bool down = q.Y > p.Y;
            const double lo = std::min(p.Y, q.Y);
            const double hi = std::max(p.Y, q.Y);
            if (scan < lo || scan >= hi)
                continue;
            const double x = p.X + (scan - p.Y) * (q.X - p.X) / double(q.Y - p.Y);
            crossings.emplace_back(x, down ? 1 : -1);
        }
        std::sort(crossings.begin(), crossings.end());
        TSpans spans;
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += mode == TPolyFillMode::WINDING ? crossings[i].second : 1;
            const bool inside = mode == TPolyFillMode::WINDING ? winding != 0 : winding % 2 == 1;
            if (!inside)
                continue;
            const auto [from, to] = CentresWithin(crossings[i].first, crossings[i + 1].first);
            if (from >= to)
                continue;
            if (!spans.empty() && spans.back().second >= from)
                spans.back().second = std::max(spans.back().second, to);
            else
                spans.emplace_back(from, to);
        }
        region.SetRow(y, std::move(spans));
    }
    return region;
}

TRegion TRegion::CombineRgn(const TRegion& a, const TRegion& b, TCombineMode mode) {
    TRegion result;
    std::set<int> rows;
    for (const auto& row : a.FRows)
        rows.insert(row.first);
    for (const auto& row : b.FRows)
        rows.insert(row.first);
    static const TSpans none;
    for (int y : rows) {
        const auto inA = a.FRows.find(y);
        const auto inB = b.FRows.find(y);
        result.SetRow(y, CombineSpans(inA == a.FRows.end() ? none : inA->second,
                                      inB == b.FRows.end() ? none : inB->second, mode));
    }
    return result;
}

bool TRegion::Contains(int x, int y) const {
    const auto row = FRows.find(y);
    return row != FRows.end() && InSpans(row->second, x);
}

TRect TRegion::Bounds() const {
    if (FRows.empty())
        return {};
    TRect bounds{INT_MAX, FRows.begin()->first, INT_MIN, FRows.rbegin()->first + 1};
    for (const auto& [y, spans] : FRows) {
        bounds.Left = std::min(bounds.Left, spans.front().first);
        bounds.Right = std::max(bounds.Right, spans.back().second);
    }
    return bounds;
}

std::vector<TRect> TRegion::Rects() const {
    std::vector<TRect> rects;
    auto it = FRows.begin();
    while (it != FRows.end()) {
        auto end = std::next(it);
        int bottom = it->first + 1;
        while (end != FRows.end() && end->first == bottom && end->second == it->second) {
            ++end;
            ++bottom;
        }
        for (const auto& [from, to] : it->second)
            rects.push_back({from, it->first, to, bottom});
        it = end;
    }
    return rects;
}

} // namespace vesk
