// The canvas on QPainter, drawing what the old host drew: one-pixel lines and arcs
// without anti-aliasing and with the host's end-point rules, text without smoothing,
// rotated along the font's escapement, and the mask pen mode.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Region.h"

#include <QColor>
#include <QFont>
#include <QRegion>

class QPainter;

namespace vesk {

QColor ToQColor(TColor color);
// The host's font at 96 pixels per inch: Size points make Size * 96 / 72 pixels.
QFont ToQFont(const TFont& font);
QRegion ToQRegion(const TRegion& region);

class TQtCanvas : public TCanvas {
public:
    // Draws through Painter, which must stay active while the canvas is used.
    explicit TQtCanvas(QPainter& painter);

    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    int DrawText(std::string_view text, TRect& rect, unsigned flags) override;

private:
    void DrawPixels(const std::vector<TPoint>& pixels);

    QPainter& FPainter;
};

} // namespace vesk
