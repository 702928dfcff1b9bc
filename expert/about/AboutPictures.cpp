#include "expert/about/AboutPictures.h"

#include <cmath>
#include <numbers>

namespace vesk {

namespace {

// A closed outline of the ellipse about (cx, cy) for Polygon.
std::vector<TPoint> EllipsePoints(double cx, double cy, double rx, double ry, int count = 32) {
    std::vector<TPoint> points;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * i / count;
        points.push_back(
            {int(std::lround(cx + rx * std::cos(a))), int(std::lround(cy + ry * std::sin(a)))});
    }
    return points;
}

std::uint8_t Mix(int from, int to, double t) {
    return std::uint8_t(std::lround(from + (to - from) * t));
}

void FillEllipse(TCanvas& canvas, double cx, double cy, double r, TColor fill, TColor outline) {
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(fill);
    canvas.SetPenColor(outline);
    canvas.Polygon(EllipsePoints(cx, cy, r, r));
}

} // namespace

void DrawAboutBackground(TCanvas& canvas, int width, int height) {
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    for (int y = 0; y < height; ++y) {
        const double t = height > 1 ? double(y) / (height - 1) : 0;
        canvas.SetBrushColor(RGB(Mix(40, 12, t), Mix(52, 16, t), Mix(120, 48, t)));
        canvas.FillRect(Rect(0, y, width, y + 1));
    }
    // Rings about the icon's centre, each a little darker than the last.
    const int cx = width / 2;
    const int cy = 119;
    for (int r = 34, k = 0; r < width; r += 14, ++k) {
        canvas.SetPenColor(RGB(Mix(90, 30, k / 8.0), Mix(100, 40, k / 8.0), Mix(170, 90, k / 8.0)));
        canvas.Arc(cx - r, cy - r, cx + r + 1, cy + r + 1, cx + r, cy, cx + r, cy);
    }
    // A thin gold rule under the contact lines.
    canvas.SetPenColor(RGB(200, 160, 60));
    canvas.MoveTo(40, 78);
    canvas.LineTo(width - 40, 78);
}

void DrawAboutEmblem(TCanvas& canvas) {
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(clFuchsia);
    canvas.FillRect(Rect(0, 0, 68, 37));
    // A pennant on a staff, the window's own shape in small.
    canvas.SetPenColor(RGB(60, 40, 20));
    canvas.SetBrushColor(RGB(150, 110, 60));
    canvas.FillRect(Rect(12, 3, 15, 35));
    canvas.SetBrushColor(RGB(230, 190, 70));
    canvas.SetPenColor(RGB(120, 80, 20));
    canvas.Polygon({{15, 4}, {58, 4}, {58, 10}, {36, 30}, {15, 10}});
    canvas.SetBrushColor(RGB(200, 40, 60));
    canvas.SetPenColor(RGB(120, 20, 30));
    canvas.Polygon({{24, 8}, {49, 8}, {36, 20}});
}

void DrawAboutAnimationStrip(TCanvas& canvas) {
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(clFuchsia);
    canvas.FillRect(Rect(0, 0, AboutFrameCount * AboutFrameSize, AboutFrameSize));
    for (int frame = 0; frame < AboutFrameCount; ++frame) {
        const double cx = frame * AboutFrameSize + 15.5;
        const double cy = 15.5;
        const double a = 2 * std::numbers::pi * frame / AboutFrameCount;
        const double mx = cx + 12 * std::cos(a);
        const double my = cy - 5 * std::sin(a);
        const bool behind = std::sin(a) > 0; // the moon passes behind the planet's top
        if (behind)
            FillEllipse(canvas, mx, my, 3, RGB(200, 200, 210), RGB(120, 120, 130));
        FillEllipse(canvas, cx, cy, 9, RGB(40, 120, 200), RGB(20, 60, 120));
        // The lit side of the planet turns with the moon.
        FillEllipse(canvas, cx - 3 * std::cos(a), cy - 3, 3, RGB(120, 190, 240),
                    RGB(120, 190, 240));
        if (!behind)
            FillEllipse(canvas, mx, my, 3, RGB(240, 240, 250), RGB(150, 150, 160));
    }
}

} // namespace vesk
