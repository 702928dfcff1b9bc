#include "library/effects/LabelEffectGeometry.h"
#include "platform/graphics/RecordingCanvas.h"
#include "platform/graphics/TextLayout.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vesk {
namespace {

struct StyleRow {
    TEffectDirection DirectionHighlight, DirectionShadow;
    TEffectDepth DepthHighlight, DepthShadow;
    int M;
    TPoint Shadow, Highlight, Face;
};

TEST(LabelEffectGeometry, LayerOffsetsOfEveryStyle) {
    const StyleRow rows[] = {
        // raised, sunken, shadow, flying, none
        {edUpLeft, edDownRight, 1, 1, -1, {2, 2}, {0, 0}, {1, 1}},
        {edDownRight, edUpLeft, 1, 1, -1, {0, 0}, {2, 2}, {1, 1}},
        {edNone, edDownRight, 0, 2, 0, {2, 2}, {0, 0}, {0, 0}},
        {edDownRight, edDownRight, 1, 5, 0, {5, 5}, {1, 1}, {0, 0}},
        {edNone, edNone, 0, 0, 0, {0, 0}, {0, 0}, {0, 0}},
        // one layer up, one right: both axes shift by the one value m
        {edUp, edRight, 2, 1, -2, {3, 2}, {2, 0}, {2, 2}},
        // a direction with depth 0, and edNone with a depth, give no offset
        {edUpLeft, edNone, 0, 7, 0, {0, 0}, {0, 0}, {0, 0}},
    };
    for (const StyleRow& row : rows) {
        const TLayerOffsets o = LayerOffsets(row.DirectionHighlight, row.DepthHighlight,
                                             row.DirectionShadow, row.DepthShadow);
        EXPECT_EQ(o.M, row.M);
        EXPECT_EQ(o.Shadow, row.Shadow);
        EXPECT_EQ(o.Highlight, row.Highlight);
        EXPECT_EQ(o.Face, row.Face);
    }
}

TEST(LabelEffectGeometry, RotatedOriginAndBackgroundAt90And180Degrees) {
    const double rad = std::numbers::pi / 180;
    TRotatedText t = RotatedText(110, 100, 20, std::cos(90 * rad), std::sin(90 * rad));
    EXPECT_EQ(t.HW, 55);
    EXPECT_EQ(t.X0, 45);
    EXPECT_EQ(t.Y0, 105);
    const auto corners = RotatedBackground(t, std::cos(90 * rad), std::sin(90 * rad));
    EXPECT_EQ(corners[0], (TPoint{43, 108}));
    EXPECT_EQ(corners[1], (TPoint{43, 2}));
    EXPECT_EQ(corners[2], (TPoint{67, 2}));
    EXPECT_EQ(corners[3], (TPoint{67, 108}));
    // Upside down about (HW, HW); odd sizes truncate.
    t = RotatedText(111, 101, 21, std::cos(180 * rad), std::sin(180 * rad));
    EXPECT_EQ(t.HW, 55);
    EXPECT_EQ(t.X0, 55 + 50);
    EXPECT_EQ(t.Y0, 55 + 10);
}

TLabelEffectLook DefaultLook() {
    TLabelEffectLook look;
    look.Caption = "Hello";
    look.Font.Name = "Times New Roman";
    look.Font.Size = 20;
    look.Font.Color = clGray;
    look.ClientRect = {0, 0, 200, 40};
    return look;
}

TEST(LabelEffectPaint, UnrotatedLayersInOrderWithTheirOffsetsAndFlags) {
    TRecordingCanvas canvas;
    TLabelEffectLook look = DefaultLook();
    look.Alignment = taCenter;
    PaintLabelEffect(canvas, look);
    EXPECT_EQ(
        canvas.Log({"FillRect", "Polygon", "SetBrushStyle", "SetFontColor", "DrawText", "TextOut"}),
        (std::vector<std::string>{
            "SetBrushStyle(bsClear)",
            "SetFontColor(clBlack)",
            "DrawText(2,2,202,42,81,'Hello')",
            "SetFontColor(clWhite)",
            "DrawText(0,0,200,40,81,'Hello')",
            "SetFontColor(clGray)",
            "DrawText(1,1,201,41,81,'Hello')",
        }));
    EXPECT_EQ(canvas.Calls().front().Name, "SetFont");
}

TEST(LabelEffectPaint, OpaqueBackgroundFillsBeforeTheText) {
    TRecordingCanvas canvas;
    TLabelEffectLook look = DefaultLook();
    look.Transparent = false;
    look.Color = clYellow;
    PaintLabelEffect(canvas, look);
    const auto log = canvas.Log({"SetBrushColor", "SetBrushStyle", "FillRect", "DrawText"});
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "SetBrushColor(clYellow)");
    EXPECT_EQ(log[1], "SetBrushStyle(bsSolid)");
    EXPECT_EQ(log[2], "FillRect(0,0,200,40)");
    EXPECT_EQ(log[3], "SetBrushStyle(bsClear)");
}

TEST(LabelEffectPaint, RotatedTextTurnsTheFontAndDrawsTheWholeCaption) {
    TRecordingCanvas canvas;
    TLabelEffectLook look = DefaultLook();
    look.Caption = std::string(300, 'x');
    look.Angle = 90;
    look.CosAngle = std::cos(std::numbers::pi / 2);
    look.SinAngle = 1;
    look.Transparent = false;
    PaintLabelEffect(canvas, look);
    // Fixed font: 14 wide, 27 high; padded width 303 * 14.
    const int hw = 303 * 14 / 2;
    const int x0 = hw - 13;
    const int y0 = hw + 300 * 7;
    const auto fonts = canvas.Log({"SetFont"});
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[1], "SetFont('Times New Roman',20,clGray,style 0,escapement 900,TrueType)");
    EXPECT_EQ(fonts[2], "SetFont('Times New Roman',20,clGray,style 0,escapement 0,TrueType)");
    const auto polygon = canvas.Log({"Polygon"});
    ASSERT_EQ(polygon.size(), 1u);
    const int b = (4200 + 7) / 2;
    const int d = (27 + 5) / 2;
    EXPECT_EQ(polygon[0], "Polygon((" + std::to_string(hw - d) + "," + std::to_string(hw + b) +
                              "),(" + std::to_string(hw - d) + "," + std::to_string(hw - b) +
                              "),(" + std::to_string(hw + d) + "," + std::to_string(hw - b) +
                              "),(" + std::to_string(hw + d) + "," + std::to_string(hw + b) + "))");
    const auto text = canvas.Log({"TextOut"});
    ASSERT_EQ(text.size(), 3u);
    const std::string caption = "'" + look.Caption + "'";
    EXPECT_EQ(text[0], "TextOut(" + std::to_string(x0 + 2) + "," + std::to_string(y0 + 2) + "," +
                           caption + ")");
    EXPECT_EQ(text[2], "TextOut(" + std::to_string(x0 + 1) + "," + std::to_string(y0 + 1) + "," +
                           caption + ")");
    EXPECT_TRUE(canvas.Log({"DrawText"}).empty());
}

TEST(LabelEffectPaint, UnrotatedTextStopsAt255CharactersOrAZero) {
    TRecordingCanvas canvas;
    TLabelEffectLook look = DefaultLook();
    look.Caption = std::string(255, 'a') + "bcd";
    PaintLabelEffect(canvas, look);
    for (const TCanvasCall& call : canvas.Calls()) {
        if (call.Name == "DrawText") {
            EXPECT_EQ(call.Text, std::string(255, 'a'));
        }
    }
    canvas.Clear();
    look.Caption = std::string("ab\0cd", 5);
    PaintLabelEffect(canvas, look);
    for (const TCanvasCall& call : canvas.Calls()) {
        if (call.Name == "DrawText") {
            EXPECT_EQ(call.Text, "ab");
        }
    }
}

TEST(LabelEffectDescription, PropertiesInOrderWithTheirDefaults) {
    const TClassInfo& type = DescribeLabelEffect();
    EXPECT_EQ(&DescribeLabelEffect(), &type); // once
    EXPECT_TRUE(type.InheritsFrom("TCustomLabel"));
    const auto& own = type.OwnProperties();
    ASSERT_EQ(own.size(), 10u);
    EXPECT_EQ(own[0].Name, "DepthHighlight");
    EXPECT_EQ(own[7].Name, "ColourScheme");
    EXPECT_EQ(ValueText(*own[7].Default), "csWindows");
    const TPropInfo& style = *type.FindProp("effectstyle");
    EXPECT_EQ(ValueText(ValueFromText(style, "ESSUNKEN")), "esSunken");
    EXPECT_THROW(ValueFromText(style, "esBold"), EConvertError);
    EXPECT_THROW(ValueFromText(*type.FindProp("DepthShadow"), "11"), ERangeError);
    // A colour default holds whether a file spells it by name or by number.
    EXPECT_TRUE(IsDefaultValue(*type.FindProp("ColourHighlight"), TValue::Integer(0xFFFFFF)));
    // The host label's stored defaults, which differ from what the constructor sets.
    EXPECT_EQ(ValueText(*type.FindProp("AutoSize")->Default), "True");
    EXPECT_EQ(ValueText(*type.FindProp("Transparent")->Default), "False");
}

} // namespace
} // namespace vesk
