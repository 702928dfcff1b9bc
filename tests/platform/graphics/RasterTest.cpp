#include "platform/graphics/Raster.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vesk {
namespace {

bool Has(const std::vector<TPoint>& pixels, int x, int y) {
    return std::find(pixels.begin(), pixels.end(), TPoint{x, y}) != pixels.end();
}

TEST(Raster, LineLeavesOutItsEndPoint) {
    const auto line = LinePixels({0, 0}, {5, 0});
    EXPECT_EQ(line.size(), 5u);
    EXPECT_TRUE(Has(line, 0, 0));
    EXPECT_FALSE(Has(line, 5, 0));
    EXPECT_TRUE(LinePixels({25, 0}, {25, 0}).empty());
    const auto diagonal = LinePixels({3, 3}, {0, 0});
    EXPECT_EQ(diagonal, (std::vector<TPoint>{{3, 3}, {2, 2}, {1, 1}}));
}

TEST(Raster, ArcRunsCounterClockwiseFromStartToEndRadial) {
    // Start at the top, end at the bottom: counter-clockwise is the left half.
    const auto left = ArcPixels(0, 0, 50, 50, 25, 0, 25, 50);
    const auto right = ArcPixels(0, 0, 50, 50, 25, 50, 25, 0);
    EXPECT_TRUE(Has(left, 0, 24));
    EXPECT_FALSE(Has(left, 49, 24));
    EXPECT_TRUE(Has(right, 49, 24));
    EXPECT_FALSE(Has(right, 0, 24));
    // The box leaves out its right and bottom edges.
    for (const TPoint& p : left) {
        EXPECT_GE(p.X, 0);
        EXPECT_LT(p.X, 50);
        EXPECT_LT(p.Y, 50);
    }
    // The two halves make the whole outline.
    auto both = left;
    both.insert(both.end(), right.begin(), right.end());
    for (const TPoint& p : ArcPixels(0, 0, 50, 50, 10, 10, 10, 10))
        EXPECT_TRUE(Has(both, p.X, p.Y)) << p.X << "," << p.Y;
}

TEST(Raster, FullEllipseIsClosedAndSymmetric) {
    const auto ring = ArcPixels(0, 0, 21, 11, 0, 0, 0, 0);
    for (const TPoint& p : ring) {
        EXPECT_TRUE(Has(ring, 20 - p.X, p.Y));
        EXPECT_TRUE(Has(ring, p.X, 10 - p.Y));
        // Every pixel touches another one: no gaps in the outline.
        int neighbours = 0;
        for (const TPoint& q : ring)
            if (q != p && std::abs(q.X - p.X) <= 1 && std::abs(q.Y - p.Y) <= 1)
                ++neighbours;
        EXPECT_GE(neighbours, 2);
    }
    EXPECT_TRUE(ArcPixels(5, 5, 5, 20, 0, 0, 1, 1).empty());
}

} // namespace
} // namespace vesk
