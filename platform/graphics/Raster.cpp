#include "platform/graphics/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vesk {

std::vector<TPoint> LinePixels(TPoint from, TPoint to) {
    std::vector<TPoint> pixels;
    const int dx = std::abs(to.X - from.X);
    const int dy = -std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    pixels.reserve(std::max(dx, -dy));
    int err = dx + dy;
    TPoint p = from;
    while (p != to) {
        pixels.push_back(p);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.X += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.Y += sy;
        }
    }
    return pixels;
}

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

// Angle of (x, y) about the centre, counter-clockwise on the screen (y grows
// downwards), in [0, 2 pi).
double ScreenAngle(double x, double y, double cx, double cy) {
    const double angle = std::atan2(cy - y, x - cx);
    return angle < 0 ? angle + TwoPi : angle;
}

double Wrap(double angle) {
    angle = std::fmod(angle, TwoPi);
    return angle < 0 ? angle + TwoPi : angle;
}

// The outline of the ellipse in [left, right] x [top, bottom] (inclusive), mirrored
// so that both halves look the same.
std::vector<TPoint> EllipsePixels(int left, int top, int right, int bottom) {
    std::vector<TPoint> pixels;
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double a = (right - left) / 2.0;
    const double b = (bottom - top) / 2.0;
    auto along = [](double radius, double otherRadius, double offset) {
        if (otherRadius <= 0)
            return radius;
        const double t = offset / otherRadius;
        return radius * std::sqrt(std::max(0.0, 1 - t * t));
    };
    for (int x = left; x <= right; ++x) {
        const int y = int(std::lround(cy - along(b, a, x - cx)));
        pixels.push_back({x, y});
        pixels.push_back({x, top + bottom - y});
    }
    for (int y = top; y <= bottom; ++y) {
        const int x = int(std::lround(cx - along(a, b, y - cy)));
        pixels.push_back({x, y});
        pixels.push_back({left + right - x, y});
    }
    std::sort(pixels.begin(), pixels.end(),
              [](TPoint p, TPoint q) { return p.Y != q.Y ? p.Y < q.Y : p.X < q.X; });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

} // namespace

std::vector<TPoint> ArcPixels(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2) - 1;
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2) - 1;
    if (right < left || bottom < top)
        return {};
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    std::vector<TPoint> outline = EllipsePixels(left, top, right, bottom);

    constexpr double Slack = 1e-9;
    const double start = ScreenAngle(x3, y3, cx, cy);
    const double sweep = Wrap(ScreenAngle(x4, y4, cx, cy) - start);
    if (sweep < Slack || (x3 == x4 && y3 == y4))
        return outline;
    std::erase_if(outline, [&](TPoint p) {
        if (p.X == cx && p.Y == cy)
            return false;
        const double along = Wrap(ScreenAngle(p.X, p.Y, cx, cy) - start);
        return along > sweep + Slack && along < TwoPi - Slack;
    });
    return outline;
}

} // namespace vesk
