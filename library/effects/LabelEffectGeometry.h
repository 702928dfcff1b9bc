// The effect label without its widget: the types of the unit LblEffct, the colour
// schemes, the layer and rotation geometry, the painting on a canvas, and the class's
// description. Pure.
#pragma once

#include "platform/design/ClassRegistry.h"
#include "platform/graphics/Graphics.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

using TEffectDepth = std::uint8_t; // 0..10
enum TEffectDirection : std::uint8_t {
    edNone,
    edUp,
    edUpRight,
    edRight,
    edDownRight,
    edDown,
    edDownLeft,
    edLeft,
    edUpLeft
};
enum TDirXY : std::uint8_t { drX, drY };
enum TEffectStyle : std::uint8_t { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum TColourScheme : std::uint8_t { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum TColourPosition : std::uint8_t { cpHighlight, cpShadow, cpFace };
using TAngleRange = std::uint16_t; // 0..359 degrees

constexpr TEffectDepth MaxEffectDepth = 10;
constexpr TAngleRange MaxAngle = 359;

// The unit step of each direction on the screen (x to the right, y downwards).
extern const std::int8_t IOffsets[9][2];

using TSchemeColours = std::array<std::array<TColor, 3>, 6>; // [scheme][position]
// The table as a new label fills it; csCustom starts as a copy of csWindows.
TSchemeColours InitialSchemeColours();

// Where each layer lands from the client rectangle's corner, and the common shift M
// that keeps every layer right of and below that corner.
struct TLayerOffsets {
    int M = 0;
    TPoint Shadow;
    TPoint Highlight;
    TPoint Face;
};
TLayerOffsets LayerOffsets(TEffectDirection directionHighlight, TEffectDepth depthHighlight,
                           TEffectDirection directionShadow, TEffectDepth depthShadow);

// The rotated caption: HW is half the padded width (caption plus three blanks),
// (X0, Y0) where the caption's top-left corner lands when its box turns
// counter-clockwise about (HW, HW).
struct TRotatedText {
    int HW = 0;
    int W = 0;
    int H = 0;
    int X0 = 0;
    int Y0 = 0;
};
TRotatedText RotatedText(int paddedWidth, int width, int height, double cosAngle, double sinAngle);
// The background behind rotated text: the caption's box, 7 wider and 5 higher,
// turned about (HW, HW); corners in drawing order.
std::array<TPoint, 4> RotatedBackground(const TRotatedText& text, double cosAngle, double sinAngle);

// Everything Paint reads of the label.
struct TLabelEffectLook {
    TEffectDirection DirectionHighlight = edUpLeft;
    TEffectDirection DirectionShadow = edDownRight;
    TEffectDepth DepthHighlight = 1;
    TEffectDepth DepthShadow = 1;
    TColor ColourHighlight = clWhite;
    TColor ColourShadow = clBlack;
    TAngleRange Angle = 0;
    double CosAngle = 1.0;
    double SinAngle = 0.0;
    std::string Caption; // UTF-8
    TFont Font;
    TColor Color = clBtnFace;
    TAlignment Alignment = taLeftJustify;
    bool Transparent = true;
    TRect ClientRect;
};

// The characters the unrotated label draws: the caption's first 255.
constexpr std::size_t LabelTextBufferChars = 255;

// Background, shadow, highlight and face, in that order.
void PaintLabelEffect(TCanvas& canvas, const TLabelEffectLook& look);
// Makes the canvas font draw at Angle degrees counter-clockwise (TrueType only).
void SetTextAngle(TCanvas& canvas, std::uint16_t angle);

// Registers the description of TLabelEffect, once: its published properties in
// order with their stored defaults; the host label's own it inherits. The current
// package owns it.
TClassInfo& DescribeLabelEffect();

} // namespace vesk
