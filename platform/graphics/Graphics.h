// The old host's drawing vocabulary: colours, points and rectangles, pen, brush and
// font, and the canvas interface every control draws on. Pure: the canvas on
// QPainter lives in platform/qt, a recording one for tests in RecordingCanvas.h.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// A colour as the host stores it: $00BBGGRR, red in the lowest byte. Values with the
// top byte $80 name a system colour (clBtnFace, ...), resolved by ColorToRGB.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clBtnHighlight = 0x80000014;
// Not a colour: "take it from the picture" (a bitmap's transparent colour is then the
// colour of its bottom-left pixel, as the host's automatic mode has it).
constexpr TColor clDefault = 0x20000000;

constexpr std::uint8_t GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}

// The plain $00BBGGRR value of a colour; system colours get the classic 3-D palette.
TColor ColorToRGB(TColor color);
// "clWhite" for a named colour, "$00400040" otherwise (the form files' spelling).
std::string ColorToString(TColor color);
// Reads "clWhite", "$00400040", a decimal number or "#RRGGBB" (web order);
// anything else raises EConvertError.
TColor StringToColor(std::string_view text);
// The colours that have names, in the host's order: the sixteen plain ones, then the
// system colours.
std::vector<std::string> ColorNames();

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are outside the rectangle, as in the host.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
// Moves every edge outwards by (dx, dy); negative values shrink the rectangle.
void InflateRect(TRect& rect, int dx, int dy);
void OffsetRect(TRect& rect, int dx, int dy);

// How text sits in its rectangle (the host's ordinals).
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

enum class TPenMode : std::uint8_t { pmCopy, pmMask };
enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t; // a set of TFontStyle bits

struct TPen {
    TColor Color = clBlack;
    TPenMode Mode = TPenMode::pmCopy;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

// A font as the host describes it. Escapement is the angle of the baseline in tenths
// of a degree, counter-clockwise; TrueTypeOnly is the "TrueType fonts only" output
// precision that a rotated font asks for.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8; // points
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    int Escapement = 0;
    bool TrueTypeOnly = false;
    friend bool operator==(const TFont&, const TFont&) = default;
};

// The height of a font's characters in pixels at the host's 96 pixels per inch.
constexpr int FontPixelHeight(const TFont& font) {
    return (font.Size * 96 + 36) / 72;
}
// The other way: the point size of characters Pixels high (a form's negative
// Font.Height counts as its size), rounded.
constexpr std::int64_t FontPointSize(std::int64_t pixels) {
    return ((pixels < 0 ? -pixels : pixels) * 72 + 48) / 96;
}

// A drawing operation a canvas or a bitmap cannot carry out: a bitmap of another kind
// of canvas, a canvas whose pixels cannot be read, a bitmap without pixels.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

class TCanvas;

// A picture in memory with a canvas of its own. Drawn transparent, the pixels of its
// transparent colour are left out and what lies beneath shows through. Bitmaps are
// made by a canvas (TCanvas::CreateBitmap), so that a canvas only meets bitmaps it can
// draw; the creator owns the result.
class TBitmap {
public:
    virtual ~TBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Drawing on the bitmap; lives as long as the bitmap.
    virtual TCanvas& Canvas() = 0;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent) { FTransparent = transparent; }
    // clDefault until one is set: the colour of the bottom-left pixel.
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor color) { FTransparentColor = color; }

private:
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};

// The canvas: the current pen, brush and font, and the drawing operations with the
// host's rules. A line leaves out its end point; an arc runs counter-clockwise on the
// screen from its start radial to its end radial; rectangles leave out their right
// and bottom edges. Implementations draw; this class only keeps the state.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    const TPen& Pen() const { return FPen; }
    const TBrush& Brush() const { return FBrush; }
    const TFont& Font() const { return FFont; }
    TPoint PenPos() const { return FPenPos; }

    virtual void SetPenColor(TColor color) { FPen.Color = color; }
    virtual void SetPenMode(TPenMode mode) { FPen.Mode = mode; }
    virtual void SetBrushColor(TColor color) { FBrush.Color = color; }
    virtual void SetBrushStyle(TBrushStyle style) { FBrush.Style = style; }
    // Takes over the whole font, as assigning a font (or a font handle) does.
    virtual void SetFont(const TFont& font) { FFont = font; }
    virtual void SetFontColor(TColor color) { FFont.Color = color; }

    virtual void MoveTo(int x, int y) { FPenPos = {x, y}; }
    // A line from the pen position to (x, y), without (x, y) itself; the pen ends there.
    virtual void LineTo(int x, int y) = 0;
    // The part of the ellipse bounded by (x1, y1, x2, y2) from the radial through
    // (x3, y3) counter-clockwise to the radial through (x4, y4); equal radials give
    // the whole ellipse.
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // Filled with the brush (unless clear), outlined with the pen.
    virtual void Polygon(const std::vector<TPoint>& points) = 0;
    virtual void FillRect(const TRect& rect) = 0;
    // Text with its top-left corner at (x, y), along the font's escapement; the
    // background is the brush's unless the brush is clear.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Along and across the baseline; a rotated font measures the same.
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;
    // Formatted text in a rectangle (DT_* flags of TextLayout.h); returns the height
    // of the text drawn. With DT_CALCRECT draws nothing and sets the rectangle's
    // right and bottom to the text's extent.
    virtual int DrawText(std::string_view text, TRect& rect, unsigned flags) = 0;

    // Bitmaps. Draw puts Bitmap with its top-left corner at (x, y), leaving out its
    // transparent colour when it is transparent. CopyRect copies the pixels of
    // Source's rectangle Src into this canvas's rectangle Dest, stretched when the
    // sizes differ; pen and brush play no part. CreateBitmap makes a black bitmap of
    // the kind this canvas draws and copies from. A bitmap or source canvas of another
    // kind raises EInvalidGraphic.
    virtual void Draw(int x, int y, TBitmap& bitmap) = 0;
    virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) = 0;
    virtual std::unique_ptr<TBitmap> CreateBitmap(int width, int height) = 0;

protected:
    void SetPenPos(TPoint pos) { FPenPos = pos; }

private:
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
};

// The host's one-pixel 3-D edge inside Rect: its left and top in TopLeft, its right and
// bottom in BottomRight (white over gray looks raised, gray over white sunken).
void Frame3D(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight);

} // namespace vesk
