#include "platform/graphics/RecordingCanvas.h"
#include "platform/graphics/TextLayout.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(RecordingCanvas, KeepsCallsAndMeasuresWithTheFixedFontModel) {
    TRecordingCanvas canvas;
    TFont font;
    font.Size = 20;
    canvas.SetFont(font);
    EXPECT_EQ(canvas.TextHeight("x"), 27);
    EXPECT_EQ(canvas.TextWidth("abc"), 3 * 14);
    EXPECT_EQ(canvas.TextWidth("\xD0\x96"), 14); // one character, two bytes
    canvas.SetPenColor(clWhite);
    canvas.MoveTo(1, 2);
    canvas.LineTo(3, 4);
    EXPECT_EQ(canvas.PenPos(), (TPoint{3, 4}));
    canvas.TextOut(5, 6, "Hi");
    TRect rect{0, 0, 28, 0};
    EXPECT_EQ(canvas.DrawText("ab cd", rect, DT_WORDBREAK | DT_CALCRECT), 54);
    EXPECT_EQ(rect, (TRect{0, 0, 28, 54}));
    EXPECT_EQ(canvas.Log({"SetPenColor", "MoveTo", "LineTo", "TextOut"}),
              (std::vector<std::string>{"SetPenColor(clWhite)", "MoveTo(1,2)", "LineTo(3,4)",
                                        "TextOut(5,6,'Hi')"}));
}

TEST(Colours, NamesHexAndErrors) {
    EXPECT_EQ(StringToColor("clOlive"), 0x008080u);
    EXPECT_EQ(StringToColor("$00400040"), 0x400040u);
    EXPECT_EQ(StringToColor("#FF8000"), RGB(255, 128, 0));
    EXPECT_EQ(StringToColor("255"), 255u);
    EXPECT_EQ(ColorToString(0x400040), "$00400040");
    EXPECT_EQ(ColorToString(clSilver), "clSilver");
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    for (const char* bad : {"", "clNothing", "$", "$123456789", "#12345", "-1", "red"})
        EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

} // namespace
} // namespace vesk
