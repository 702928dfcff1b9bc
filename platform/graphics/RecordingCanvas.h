// A canvas that draws nothing and keeps every call with its arguments, so that a
// control's painting can be checked call by call. Text is measured with a fixed font
// model, the same on every machine.
#pragma once

#include "platform/graphics/Graphics.h"

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// One call: its name, its numbers, its text (if any). Image() spells it the way a
// test compares it: "Arc(0,0,50,50,25,0,25,50)", "TextOut(3,4,'Hi')",
// "SetPenColor(clWhite)".
struct TCanvasCall {
    std::string Name;
    std::vector<long long> Args;
    std::string Text;
    std::string Image;
};

// The fixed font model: a font of Size points is Size * 96 / 72 pixels high (rounded)
// and every character, blanks and letters alike, is half that (rounded up) wide, one
// more when bold.
int FixedFontHeight(const TFont& font);
int FixedCharWidth(const TFont& font);

// Canvases are told apart in the log by name: a bitmap's canvas is named after the
// canvas that made it, "canvas.bitmap1", "canvas.bitmap2", ... so that "Draw(4,4,
// form.bitmap1)" and "CopyRect(0,0,207,29,picture,4,4,211,33)" say what went where.
class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(std::string name = "canvas") : FName(std::move(name)) {}
    const std::string& Name() const { return FName; }
    const std::vector<TCanvasCall>& Calls() const { return FCalls; }
    // The images of the calls, optionally only those with one of the given names.
    std::vector<std::string> Log(const std::vector<std::string>& names = {}) const;
    void Clear() { FCalls.clear(); }

    void SetPenColor(TColor color) override;
    void SetPenMode(TPenMode mode) override;
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    void SetFont(const TFont& font) override;
    void SetFontColor(TColor color) override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    int DrawText(std::string_view text, TRect& rect, unsigned flags) override;
    // Draw and CopyRect take bitmaps and sources of any kind; a transparent bitmap is
    // logged with its colour: "Draw(0,0,canvas.bitmap2,transparent clBlack)".
    void Draw(int x, int y, TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) override;
    std::unique_ptr<TBitmap> CreateBitmap(int width, int height) override;

private:
    void Record(std::string name, std::vector<long long> args, std::string text = {},
                std::string image = {});

    std::string FName;
    int FBitmapCount = 0;
    std::vector<TCanvasCall> FCalls;
};

// A bitmap that keeps the calls made on its canvas.
class TRecordingBitmap : public TBitmap {
public:
    TRecordingBitmap(int width, int height, std::string name);
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    TRecordingCanvas& Canvas() override { return FCanvas; }
    const std::string& Name() const { return FCanvas.Name(); }

private:
    int FWidth;
    int FHeight;
    TRecordingCanvas FCanvas;
};

} // namespace vesk
