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

class TRecordingCanvas : public TCanvas {
public:
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

private:
    void Record(std::string name, std::vector<long long> args, std::string text = {},
                std::string image = {});

    std::vector<TCanvasCall> FCalls;
};

} // namespace vesk
