// The About box without its window: the pennant the window is cut to, the etched
// edge along its outline, the version text shimmering with slanted colour bands that
// drift to the right, and which points of the window drag it. Pure: it draws on the
// canvases and bitmaps it is given.
#pragma once

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Region.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace vesk {

// What the animation needs of its window.
class IAboutForm {
public:
    virtual ~IAboutForm() = default;
    // The window's background colour.
    virtual void SetColor(TColor color) = 0;
    // The client area as it looks now, drawn into a new bitmap.
    virtual std::unique_ptr<TBitmap> GetFormImage() = 0;
};

// The pennant for a window Width x Height: a band 20 pixels high with rounded top
// corners (radius 20) united with the triangle (0, 20), (Width div 2, Height),
// (Width, 20).
TRegion AboutRegion(int width, int height);

// The two-line etched edge along that outline inside Rect: the outer line Light on
// the left and top and Dark on the right, the inner line one pixel in with the two
// swapped. The 20s of the left slope and the top edge are window coordinates.
void Frame(TCanvas& canvas, TRect rect, TColor light, TColor dark);

// The window's own hit test: a point of the client area drags the window unless it
// lies in the button's rectangle (Button, in client coordinates), edges included.
bool IsCaptionPoint(const TRect& button, TPoint point);

// One band of a frame: Width one-pixel lines from (X + j, 0) to (X + j + Width,
// height), j = 0, 1, ..., in the colour of ColorIndex.
struct TBand {
    int X = 0;
    int Width = 0;
    int ColorIndex = 0;
    friend bool operator==(const TBand&, const TBand&) = default;
};

// The bands of one frame of a bitmap Width x Height, for a pattern moved Offset
// pixels since the last shift of the colours, bands Step wide: the first (colour 1,
// Offset wide) starts Height + Step left of the bitmap, the rest follow Step apart
// until the right edge.
std::vector<TBand> FrameBands(int offset, int step, int width, int height);

// A random integer from 0 to Range - 1.
using TRandomSource = std::function<int(int range)>;
// A source seeded afresh, so that each showing gets new colours; or from Seed, the same
// numbers every time.
TRandomSource NewRandomSource();
TRandomSource SeededRandomSource(unsigned seed);

class TAboutAnimation {
public:
    static constexpr int ColorCount = 255;

    // Box: the area of the animated text in the window's client coordinates.
    explicit TAboutAnimation(const TRect& box, TRandomSource random = NewRandomSource());

    // Captures the version text as the window draws it on black into the base
    // bitmap, makes the frame buffer, the band width (the box's width div 7) and a
    // colour for every band, and draws the first frame. The window's colour is
    // put back to the button face also when capturing fails.
    void CreateBox(IAboutForm& form);
    // A colour of three random channels from 64 to 255 for band Index (1 to 255),
    // blue drawn first, then green, then red.
    void NewColor(int index);
    // The current frame into the buffer: the base, then every band in the mask pen
    // mode, so that black stays black and the letters take the band colours.
    void Draw();
    // One tick: the frame is drawn, the pattern moves on by a pixel (every Step
    // ticks the colours move one band on and a new one enters at index 1), and the
    // frame, laid transparently over the part of Picture under the box, is drawn on
    // FormCanvas at the box's place.
    void Timer1Timer(TCanvas& picture, TCanvas& formCanvas);
    // The box's own repaint: the buffer at (0, 0), unless the box is being made.
    void BoxPaint(TCanvas& boxCanvas);

    // The colour of band Index, 1 to 255; ERangeError outside.
    TColor Colors(int index) const;
    int Offset() const { return FOffset; }
    int Step() const { return FStep; }
    bool Creating() const { return FCreating; }
    const TRect& Box() const { return FBox; }
    // None before CreateBox.
    TBitmap* Base() const { return FBase.get(); }
    TBitmap* Buffer() const { return FBuffer.get(); }

private:
    void DrawBand(const TBand& band);
    void Advance();

    TRect FBox;
    TRandomSource FRandom;
    std::array<TColor, ColorCount + 1> FColors{}; // index 0 unused
    std::unique_ptr<TBitmap> FBase;
    std::unique_ptr<TBitmap> FBuffer;
    int FOffset = 0;
    int FStep = 0;
    bool FCreating = false;
};

} // namespace vesk
