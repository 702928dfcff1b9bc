// The canvas on QPainter, drawing what the old host drew: one-pixel lines and arcs
// without anti-aliasing and with the host's end-point rules, text without smoothing,
// rotated along the font's escapement, and the mask pen mode. Its bitmaps are QImages
// (TQtBitmap); a canvas painting on an image can be copied from.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Region.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>

namespace vesk {

QColor ToQColor(TColor color);
// The host's font at 96 pixels per inch: Size points make Size * 96 / 72 pixels.
QFont ToQFont(const TFont& font);
QRegion ToQRegion(const TRegion& region);
// Image with every pixel of colour Key made fully transparent (32-bit with alpha).
QImage ImageWithoutColour(const QImage& image, TColor key);

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
    // Draw takes TQtBitmaps; CopyRect reads a TQtCanvas that paints on an image, in
    // that image's pixels (the source painter's transformation plays no part).
    void Draw(int x, int y, TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) override;
    std::unique_ptr<TBitmap> CreateBitmap(int width, int height) override;

    // The image this canvas paints on, or none (a widget, a printer).
    QImage* TargetImage() const;

private:
    void DrawPixels(const std::vector<TPoint>& pixels);
    bool DrawPixelsDirectly(const std::vector<TPoint>& pixels);

    QPainter& FPainter;
};

// A bitmap of the Qt canvas: an opaque 32-bit image with a canvas painting on it for
// as long as the bitmap lives.
class TQtBitmap : public TBitmap {
public:
    // Black; both sides at least 1 (EInvalidGraphic otherwise).
    TQtBitmap(int width, int height);
    // A copy of Image, made opaque.
    explicit TQtBitmap(const QImage& image);
    ~TQtBitmap() override;
    TQtBitmap(const TQtBitmap&) = delete;
    TQtBitmap& operator=(const TQtBitmap&) = delete;

    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    TQtCanvas& Canvas() override;
    // The pixels as drawn so far.
    const QImage& Image() const { return FImage; }
    // The transparent colour as a plain colour: the bottom-left pixel's for clDefault.
    TColor ResolvedTransparentColor() const;

private:
    QImage FImage;
    QPainter FPainter;
    std::unique_ptr<TQtCanvas> FCanvas; // made on first use
};

} // namespace vesk
