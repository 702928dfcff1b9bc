#include "platform/graphics/RecordingCanvas.h"

#include "platform/graphics/TextLayout.h"

#include <algorithm>

namespace vesk {

namespace {

std::string Join(const std::vector<long long>& args) {
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            text.push_back(',');
        text += std::to_string(args[i]);
    }
    return text;
}

long long CharCount(std::string_view text) {
    return std::count_if(text.begin(), text.end(),
                         [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; });
}

// How the log names a canvas or a bitmap it did not make.
std::string NameOf(const TCanvas& canvas) {
    const auto* recording = dynamic_cast<const TRecordingCanvas*>(&canvas);
    return recording ? recording->Name() : "?";
}

std::string NameOf(TBitmap& bitmap) {
    const auto* recording = dynamic_cast<const TRecordingBitmap*>(&bitmap);
    return recording ? recording->Name()
                     : std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height());
}

} // namespace

int FixedFontHeight(const TFont& font) {
    return FontPixelHeight(font);
}

int FixedCharWidth(const TFont& font) {
    return (FixedFontHeight(font) + 1) / 2 + ((font.Style & fsBold) ? 1 : 0);
}

std::vector<std::string> TRecordingCanvas::Log(const std::vector<std::string>& names) const {
    std::vector<std::string> log;
    for (const TCanvasCall& call : FCalls)
        if (names.empty() || std::find(names.begin(), names.end(), call.Name) != names.end())
            log.push_back(call.Image);
    return log;
}

void TRecordingCanvas::Record(std::string name, std::vector<long long> args, std::string text,
                              std::string image) {
    if (image.empty()) {
        image = name + "(" + Join(args);
        if (!text.empty() || name == "TextOut" || name == "DrawText")
            image += (args.empty() ? "'" : ",'") + text + "'";
        image += ")";
    }
    FCalls.push_back({std::move(name), std::move(args), std::move(text), std::move(image)});
}

void TRecordingCanvas::SetPenColor(TColor color) {
    TCanvas::SetPenColor(color);
    Record("SetPenColor", {color}, {}, "SetPenColor(" + ColorToString(color) + ")");
}

void TRecordingCanvas::SetPenMode(TPenMode mode) {
    TCanvas::SetPenMode(mode);
    Record("SetPenMode", {int(mode)}, {},
           mode == TPenMode::pmMask ? "SetPenMode(pmMask)" : "SetPenMode(pmCopy)");
}

void TRecordingCanvas::SetBrushColor(TColor color) {
    TCanvas::SetBrushColor(color);
    Record("SetBrushColor", {color}, {}, "SetBrushColor(" + ColorToString(color) + ")");
}

void TRecordingCanvas::SetBrushStyle(TBrushStyle style) {
    TCanvas::SetBrushStyle(style);
    Record("SetBrushStyle", {int(style)}, {},
           style == TBrushStyle::bsClear ? "SetBrushStyle(bsClear)" : "SetBrushStyle(bsSolid)");
}

void TRecordingCanvas::SetFont(const TFont& font) {
    TCanvas::SetFont(font);
    Record("SetFont",
           {font.Size, font.Color, font.Style, font.Escapement, font.TrueTypeOnly ? 1 : 0},
           font.Name,
           "SetFont('" + font.Name + "'," + std::to_string(font.Size) + "," +
               ColorToString(font.Color) + ",style " + std::to_string(font.Style) + ",escapement " +
               std::to_string(font.Escapement) + (font.TrueTypeOnly ? ",TrueType" : "") + ")");
}

void TRecordingCanvas::SetFontColor(TColor color) {
    TCanvas::SetFontColor(color);
    Record("SetFontColor", {color}, {}, "SetFontColor(" + ColorToString(color) + ")");
}

void TRecordingCanvas::MoveTo(int x, int y) {
    TCanvas::MoveTo(x, y);
    Record("MoveTo", {x, y});
}

void TRecordingCanvas::LineTo(int x, int y) {
    SetPenPos({x, y});
    Record("LineTo", {x, y});
}

void TRecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Record("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TRecordingCanvas::Polygon(const std::vector<TPoint>& points) {
    std::vector<long long> args;
    std::string image = "Polygon(";
    for (const TPoint& p : points) {
        args.push_back(p.X);
        args.push_back(p.Y);
        if (image.back() != '(')
            image += ",";
        image += "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    }
    Record("Polygon", std::move(args), {}, image + ")");
}

void TRecordingCanvas::FillRect(const TRect& rect) {
    Record("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
}

void TRecordingCanvas::TextOut(int x, int y, std::string_view text) {
    Record("TextOut", {x, y}, std::string(text));
}

int TRecordingCanvas::TextWidth(std::string_view text) {
    const int width = int(CharCount(text)) * FixedCharWidth(Font());
    Record("TextWidth", {width}, std::string(text));
    return width;
}

int TRecordingCanvas::TextHeight(std::string_view text) {
    const int height = FixedFontHeight(Font());
    Record("TextHeight", {height}, std::string(text));
    return height;
}

int TRecordingCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags) {
    const int charWidth = FixedCharWidth(Font());
    const TTextLayout layout = LayoutText(
        text, rect, flags,
        [&](std::string_view piece) { return int(CharCount(piece)) * charWidth; },
        FixedFontHeight(Font()));
    Record("DrawText", {rect.Left, rect.Top, rect.Right, rect.Bottom, flags}, std::string(text));
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + layout.Width;
        rect.Bottom = rect.Top + layout.Height;
    }
    return layout.Height;
}

void TRecordingCanvas::Draw(int x, int y, TBitmap& bitmap) {
    std::string image =
        "Draw(" + std::to_string(x) + "," + std::to_string(y) + "," + NameOf(bitmap);
    if (bitmap.Transparent())
        image += ",transparent " + ColorToString(bitmap.TransparentColor());
    Record("Draw", {x, y}, NameOf(bitmap), image + ")");
}

void TRecordingCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
    const std::string name = NameOf(source);
    Record("CopyRect",
           {dest.Left, dest.Top, dest.Right, dest.Bottom, src.Left, src.Top, src.Right, src.Bottom},
           name,
           "CopyRect(" + Join({dest.Left, dest.Top, dest.Right, dest.Bottom}) + "," + name + "," +
               Join({src.Left, src.Top, src.Right, src.Bottom}) + ")");
}

std::unique_ptr<TBitmap> TRecordingCanvas::CreateBitmap(int width, int height) {
    auto bitmap = std::make_unique<TRecordingBitmap>(
        width, height, FName + ".bitmap" + std::to_string(++FBitmapCount));
    Record("CreateBitmap", {width, height}, bitmap->Name(),
           "CreateBitmap(" + std::to_string(width) + "," + std::to_string(height) +
               ")=" + bitmap->Name());
    return bitmap;
}

TRecordingBitmap::TRecordingBitmap(int width, int height, std::string name)
    : FWidth(width), FHeight(height), FCanvas(std::move(name)) {}

} // namespace vesk
