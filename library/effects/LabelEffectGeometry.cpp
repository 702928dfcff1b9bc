#include "library/effects/LabelEffectGeometry.h"

#include "platform/graphics/TextLayout.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace vesk {

const std::int8_t IOffsets[9][2] = {
    {0, 0},  // edNone
    {0, -1}, // edUp
    {1, -1}, // edUpRight
    {1, 0},  // edRight
    {1, 1},  // edDownRight
    {0, 1},  // edDown
    {-1, 1}, // edDownLeft
    {-1, 0}, // edLeft
    {-1, -1} // edUpLeft
};

TSchemeColours InitialSchemeColours() {
    TSchemeColours colours{};
    colours[csText] = {clWhite, clGray, clBlack};
    colours[csWindows] = {clWhite, clBlack, clGray};
    colours[csEmbossed] = {clWhite, clBlack, clSilver};
    colours[csGold] = {clYellow, clBlack, clOlive};
    colours[csSteel] = {clAqua, clNavy, clTeal};
    colours[csCustom] = colours[csWindows];
    return colours;
}

TLayerOffsets LayerOffsets(TEffectDirection directionHighlight, TEffectDepth depthHighlight,
                           TEffectDirection directionShadow, TEffectDepth depthShadow) {
    const int hx = IOffsets[directionHighlight][drX] * depthHighlight;
    const int hy = IOffsets[directionHighlight][drY] * depthHighlight;
    const int sx = IOffsets[directionShadow][drX] * depthShadow;
    const int sy = IOffsets[directionShadow][drY] * depthShadow;
    TLayerOffsets offsets;
    offsets.M = std::min({0, hx, sx, hy, sy});
    offsets.Shadow = {sx - offsets.M, sy - offsets.M};
    offsets.Highlight = {hx - offsets.M, hy - offsets.M};
    offsets.Face = {-offsets.M, -offsets.M};
    return offsets;
}

TRotatedText RotatedText(int paddedWidth, int width, int height, double cosAngle, double sinAngle) {
    TRotatedText text;
    text.HW = paddedWidth / 2;
    text.W = width;
    text.H = height;
    text.X0 = text.HW - int(std::trunc(width * 0.5 * cosAngle)) -
              int(std::trunc(height * 0.5 * sinAngle));
    text.Y0 = text.HW + int(std::trunc(width * 0.5 * sinAngle)) -
              int(std::trunc(height * 0.5 * cosAngle));
    return text;
}

std::array<TPoint, 4> RotatedBackground(const TRotatedText& text, double cosAngle,
                                        double sinAngle) {
    const int w = text.W + 7;
    const int h = text.H + 5;
    const int a = int(std::trunc(w * 0.5 * cosAngle));
    const int b = int(std::trunc(w * 0.5 * sinAngle));
    const int c = int(std::trunc(h * 0.5 * cosAngle));
    const int d = int(std::trunc(h * 0.5 * sinAngle));
    const int hw = text.HW;
    return {TPoint{hw - a - d, hw + b - c}, TPoint{hw + a - d, hw - b - c},
            TPoint{hw + a + d, hw - b + c}, TPoint{hw - a + d, hw + b + c}};
}

void SetTextAngle(TCanvas& canvas, std::uint16_t angle) {
    TFont font = canvas.Font();
    font.Escapement = angle * 10;
    font.TrueTypeOnly = true;
    canvas.SetFont(font);
}

namespace {

unsigned AlignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// What the unrotated label draws: up to the first zero, at most 255 characters.
std::string_view TextBuffer(std::string_view caption) {
    return FirstChars(caption.substr(0, caption.find('\0')), LabelTextBufferChars);
}

} // namespace

void PaintLabelEffect(TCanvas& canvas, const TLabelEffectLook& look) {
    const TLayerOffsets offsets = LayerOffsets(look.DirectionHighlight, look.DepthHighlight,
                                               look.DirectionShadow, look.DepthShadow);
    canvas.SetFont(look.Font);
    const bool rotated = look.Angle != 0;
    TRotatedText text;
    if (rotated) {
        SetTextAngle(canvas, look.Angle);
        const int padded = canvas.TextWidth(look.Caption + "   ");
        const int width = canvas.TextWidth(look.Caption);
        const int height = canvas.TextHeight(look.Caption);
        text = RotatedText(padded, width, height, look.CosAngle, look.SinAngle);
    }
    if (!look.Transparent) {
        canvas.SetBrushColor(look.Color);
        canvas.SetBrushStyle(TBrushStyle::bsSolid);
        if (rotated) {
            const auto corners = RotatedBackground(text, look.CosAngle, look.SinAngle);
            canvas.Polygon({corners.begin(), corners.end()});
        } else {
            canvas.FillRect(look.ClientRect);
        }
    }
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    const std::string_view buffer = TextBuffer(look.Caption);
    const struct {
        TColor Colour;
        TPoint Offset;
    } layers[] = {{look.ColourShadow, offsets.Shadow},
                  {look.ColourHighlight, offsets.Highlight},
                  {look.Font.Color, offsets.Face}};
    for (const auto& layer : layers) {
        canvas.SetFontColor(layer.Colour);
        if (rotated) {
            canvas.TextOut(text.X0 + layer.Offset.X, text.Y0 + layer.Offset.Y, look.Caption);
        } else {
            TRect rect = look.ClientRect;
            OffsetRect(rect, layer.Offset.X, layer.Offset.Y);
            canvas.DrawText(buffer, rect,
                            AlignmentFlag(look.Alignment) | DT_WORDBREAK | DT_EXPANDTABS);
        }
    }
    if (rotated)
        SetTextAngle(canvas, 0);
}

TClassInfo& DescribeLabelEffect() {
    TClassRegistry& registry = TClassRegistry::Instance();
    if (const TClassInfo* known = registry.Find("TLabelEffect"))
        return const_cast<TClassInfo&>(*known);
    const std::vector<std::string> directions{"edNone",     "edUp",        "edUpRight",
                                              "edRight",    "edDownRight", "edDown",
                                              "edDownLeft", "edLeft",      "edUpLeft"};
    return registry.Register("TLabelEffect", "TCustomLabel")
        .Add(IntProp("DepthHighlight", 1, 0, MaxEffectDepth, "TEffectDepth"))
        .Add(IntProp("DepthShadow", 1, 0, MaxEffectDepth, "TEffectDepth"))
        .Add(EnumProp("DirectionHighlight", "TEffectDirection", directions, "edUpLeft"))
        .Add(EnumProp("DirectionShadow", "TEffectDirection", directions, "edDownRight"))
        .Add(ColorProp("ColourHighlight", "clWhite"))
        .Add(ColorProp("ColourShadow", "clBlack"))
        .Add(EnumProp("EffectStyle", "TEffectStyle",
                      {"esNone", "esCustom", "esRaised", "esSunken", "esShadow", "esFlying"},
                      "esRaised"))
        .Add(EnumProp("ColourScheme", "TColourScheme",
                      {"csCustom", "csText", "csWindows", "csEmbossed", "csGold", "csSteel"},
                      "csWindows"))
        .Add(BoolProp("AsButton", false))
        .Add(IntProp("Angle", 0, 0, MaxAngle, "TAngleRange"));
}

} // namespace vesk
