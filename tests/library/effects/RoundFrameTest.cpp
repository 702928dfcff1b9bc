#include "library/effects/RoundFrame.h"
#include "platform/graphics/RecordingCanvas.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

std::vector<std::string> Frame(TRect rect, int radius, bool flat, bool pressed, bool mouseOver,
                               TCircleType left, TCircleType right) {
    TRecordingCanvas canvas;
    DrawRoundFrame(rect, radius, canvas, true, flat, pressed, mouseOver, left, right);
    return canvas.Log();
}

TEST(RoundFrame, FullCircleWithZeroLengthEdges) {
    EXPECT_EQ(Frame({0, 0, 50, 50}, 25, false, false, false, ctRaised, ctRaised),
              (std::vector<std::string>{
                  "SetPenColor(clWhite)",
                  "Arc(0,0,50,50,25,0,25,50)",
                  "MoveTo(25,0)",
                  "LineTo(25,0)",
                  "SetPenColor(clBlack)",
                  "Arc(0,0,50,50,25,50,25,0)",
                  "MoveTo(25,50)",
                  "LineTo(25,50)",
                  "SetPenColor(clGray)",
                  "Arc(-1,1,49,49,24,49,24,1)", // the inner ring keeps the radius
                  "MoveTo(24,49)",
                  "LineTo(26,49)",
              }));
}

TEST(RoundFrame, LoweredEndsTakeTheInnerHalves) {
    const auto calls = Frame({0, 0, 80, 30}, 15, true, false, true, ctLowered, ctLowered);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "SetPenColor(clWhite)",
                         "Arc(0,0,30,30,15,30,15,0)",
                         "MoveTo(15,0)",
                         "LineTo(65,0)",
                         "SetPenColor(clGray)",
                         "Arc(50,0,80,30,65,0,65,30)",
                         "MoveTo(65,30)",
                         "LineTo(15,30)",
                     }));
}

TEST(RoundFrame, ColoursOfEveryStateAndTheFlatButtonThatDrawsNothing) {
    auto pens = [](bool flat, bool pressed, bool over) {
        TRecordingCanvas canvas;
        DrawRoundFrame({0, 0, 40, 20}, 10, canvas, true, flat, pressed, over, ctRaised, ctLowered);
        return canvas.Log({"SetPenColor"});
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(pens(false, true, false), (V{"SetPenColor(clBlack)", "SetPenColor(clWhite)",
                                           "SetPenColor(clGray)", "SetPenColor(clSilver)"}));
    EXPECT_EQ(pens(true, true, false), (V{"SetPenColor(clGray)", "SetPenColor(clWhite)"}));
    EXPECT_EQ(pens(false, false, true),
              (V{"SetPenColor(clWhite)", "SetPenColor(clBlack)", "SetPenColor(clGray)"}));
    EXPECT_EQ(pens(true, false, true), (V{"SetPenColor(clWhite)", "SetPenColor(clGray)"}));
    EXPECT_TRUE(pens(true, false, false).empty());
}

TEST(RoundFrame, RadiusZeroGivesStraightEnds) {
    const auto lines = Frame({0, 0, 30, 20}, 0, true, true, false, ctRaised, ctRaised);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "SetPenColor(clGray)",
                         "MoveTo(0,0)",
                         "LineTo(0,20)",
                         "MoveTo(0,0)",
                         "LineTo(30,0)",
                         "SetPenColor(clWhite)",
                         "MoveTo(30,0)",
                         "LineTo(30,20)",
                         "MoveTo(30,20)",
                         "LineTo(0,20)",
                     }));
}

TEST(RoundFrame, PointerTestCountsEveryEdge) {
    const TRect rect{0, 0, 50, 50};
    EXPECT_TRUE(PointInClientRect(rect, {50, 50}));
    EXPECT_TRUE(PointInClientRect(rect, {0, 0}));
    EXPECT_TRUE(PointInClientRect(rect, {1, 1})); // outside the circle, inside the square
    EXPECT_FALSE(PointInClientRect(rect, {51, 10}));
    EXPECT_FALSE(PointInClientRect(rect, {10, -1}));
}

} // namespace
} // namespace vesk
