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

TEST(RecordingCanvas, BitmapsAreNamedAfterTheCanvasThatMadeThem) {
    TRecordingCanvas form("form");
    auto frame = form.CreateBitmap(207, 29);
    auto second = form.CreateBitmap(1, 1);
    ASSERT_NE(dynamic_cast<TRecordingBitmap*>(frame.get()), nullptr);
    EXPECT_EQ(frame->Width(), 207);
    TRecordingCanvas picture("picture");
    frame->Canvas().CopyRect(Rect(0, 0, 207, 29), picture, Rect(4, 4, 211, 33));
    frame->SetTransparent(true);
    frame->SetTransparentColor(clBlack);
    form.Draw(4, 4, *frame);
    second->SetTransparent(true);
    form.Draw(0, 0, *second); // transparent in the bitmap's own bottom-left colour
    EXPECT_EQ(form.Log(), (std::vector<std::string>{
                              "CreateBitmap(207,29)=form.bitmap1", "CreateBitmap(1,1)=form.bitmap2",
                              "Draw(4,4,form.bitmap1,transparent clBlack)",
                              "Draw(0,0,form.bitmap2,transparent $20000000)"}));
    EXPECT_EQ(static_cast<TRecordingCanvas&>(frame->Canvas()).Log(),
              std::vector<std::string>{"CopyRect(0,0,207,29,picture,4,4,211,33)"});
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
