#include "platform/graphics/Region.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(Region, PennantShapeFromRoundedBandAndTriangle) {
    const int W = 215;
    const int H = 291;
    TRegion a = TRegion::CreateRoundRectRgn(0, 0, W, 40, 40, 40);
    const TRegion b = TRegion::CreateRectRgn(0, 0, W, 20);
    const TRegion c =
        TRegion::CreatePolygonRgn({{0, 20}, {W / 2, H}, {W, 20}}, TPolyFillMode::WINDING);
    a = TRegion::CombineRgn(a, b, TCombineMode::RGN_AND);
    a = TRegion::CombineRgn(a, c, TCombineMode::RGN_OR);
    EXPECT_TRUE(a.Contains(10, 10));
    EXPECT_TRUE(a.Contains(107, 280));
    EXPECT_TRUE(a.Contains(200, 15));
    EXPECT_FALSE(a.Contains(1, 1));
    EXPECT_FALSE(a.Contains(10, 100));
    EXPECT_FALSE(a.Contains(200, 200));
    EXPECT_EQ(a.Bounds(), (TRect{0, 0, W, H - 1}));
}

TEST(Region, RectanglesLeaveOutRightAndBottomAndCombine) {
    const TRegion r = TRegion::CreateRectRgn(2, 3, 5, 6);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(4, 5));
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_FALSE(r.Contains(4, 6));
    const TRegion s = TRegion::CreateRectRgn(4, 3, 8, 6);
    EXPECT_EQ(TRegion::CombineRgn(r, s, TCombineMode::RGN_AND).Rects(),
              (std::vector<TRect>{{4, 3, 5, 6}}));
    EXPECT_EQ(TRegion::CombineRgn(r, s, TCombineMode::RGN_OR).Rects(),
              (std::vector<TRect>{{2, 3, 8, 6}}));
    EXPECT_EQ(TRegion::CombineRgn(r, s, TCombineMode::RGN_DIFF).Rects(),
              (std::vector<TRect>{{2, 3, 4, 6}}));
    EXPECT_EQ(TRegion::CombineRgn(r, s, TCombineMode::RGN_XOR).Rects(),
              (std::vector<TRect>{{2, 3, 4, 6}, {5, 3, 8, 6}}));
    EXPECT_TRUE(TRegion::CreateRectRgn(1, 1, 1, 9).Empty());
}

TEST(Region, PolygonFillModes) {
    // A five-pointed star drawn in one stroke: its middle is inside only when winding.
    const std::vector<TPoint> star{{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
    EXPECT_TRUE(TRegion::CreatePolygonRgn(star, TPolyFillMode::WINDING).Contains(50, 50));
    EXPECT_FALSE(TRegion::CreatePolygonRgn(star, TPolyFillMode::ALTERNATE).Contains(50, 50));
    EXPECT_TRUE(TRegion::CreatePolygonRgn(star, TPolyFillMode::ALTERNATE).Contains(50, 10));
    EXPECT_TRUE(TRegion::CreatePolygonRgn({{0, 0}, {5, 5}}, TPolyFillMode::WINDING).Empty());
}

} // namespace
} // namespace vesk
