#include "platform/qt/QtCanvas.h"
#include "platform/graphics/TextLayout.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

namespace vesk {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

QImage Draw(int width, int height, const std::function<void(TCanvas&)>& draw,
            QRgb background = White) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    draw(canvas);
    return image;
}

int Count(const QImage& image, QRgb colour, QRect area = {}) {
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour)
                ++count;
    return count;
}

TEST(QtCanvas, LinesAreOnePixelAndLeaveOutTheirEndPoint) {
    const QImage image = Draw(20, 20, [](TCanvas& c) {
        c.SetPenColor(clBlack);
        c.MoveTo(2, 3);
        c.LineTo(12, 3);
        c.LineTo(12, 13); // the corner pixel comes from this line's start
        c.MoveTo(0, 19);
        c.LineTo(19, 0); // a diagonal, not smoothed
    });
    EXPECT_EQ(image.pixel(2, 3), Black);
    EXPECT_EQ(image.pixel(11, 3), Black);
    EXPECT_EQ(image.pixel(12, 3), Black);
    EXPECT_EQ(image.pixel(12, 12), Black);
    EXPECT_EQ(image.pixel(12, 13), White);
    EXPECT_EQ(image.pixel(19, 0), White);
    EXPECT_EQ(Count(image, Black) + Count(image, White), 400);
    EXPECT_EQ(Count(image, Black), 10 + 10 + 19 - 1); // the diagonal crosses (12, 7)
}

TEST(QtCanvas, ArcRunsCounterClockwise) {
    const QImage left = Draw(30, 30, [](TCanvas& c) { c.Arc(0, 0, 30, 30, 15, 0, 15, 30); });
    EXPECT_EQ(left.pixel(0, 15), Black);
    EXPECT_EQ(left.pixel(29, 15), White);
    const QImage right = Draw(30, 30, [](TCanvas& c) { c.Arc(0, 0, 30, 30, 15, 30, 15, 0); });
    EXPECT_EQ(right.pixel(29, 15), Black);
    EXPECT_EQ(right.pixel(0, 15), White);
}

TEST(QtCanvas, MaskPenModeAndsWithWhatIsThere) {
    const QImage image = Draw(
        4, 1,
        [](TCanvas& c) {
            c.SetPenColor(RGB(0x0F, 0xF0, 0xFF));
            c.SetPenMode(TPenMode::pmMask);
            c.MoveTo(0, 0);
            c.LineTo(4, 0);
        },
        qRgb(0x3C, 0x3C, 0x80));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0x0C, 0x30, 0x80));
}

TEST(QtCanvas, FillsPolygonsAndRectanglesWithTheBrush) {
    const QImage image = Draw(20, 20, [](TCanvas& c) {
        c.SetBrushColor(clRed);
        c.FillRect({2, 2, 6, 6});
        c.SetBrushStyle(TBrushStyle::bsClear);
        c.FillRect({10, 10, 20, 20}); // a clear brush fills nothing
        c.SetBrushStyle(TBrushStyle::bsSolid);
        c.SetBrushColor(clLime);
        c.Polygon({{10, 0}, {19, 0}, {19, 9}, {10, 9}});
    });
    EXPECT_EQ(Count(image, qRgb(255, 0, 0)), 16);
    EXPECT_EQ(image.pixel(6, 6), White);
    EXPECT_EQ(Count(image, White, QRect(10, 10, 10, 10)), 100);
    EXPECT_EQ(image.pixel(14, 4), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(10, 0), Black); // outlined with the pen
    EXPECT_EQ(image.pixel(19, 9), Black);
}

TEST(QtCanvas, RotatedTextRunsUpwardsAndDrawTextClips) {
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = 12;
    font.Color = clBlack;
    const QImage flat = Draw(100, 100, [&](TCanvas& c) {
        c.SetFont(font);
        c.SetBrushStyle(TBrushStyle::bsClear);
        c.TextOut(10, 50, "MMMM");
    });
    EXPECT_GT(Count(flat, Black, QRect(10, 50, 90, 25)), 0);
    EXPECT_EQ(Count(flat, Black, QRect(0, 0, 100, 50)), 0);
    font.Escapement = 900;
    const QImage turned = Draw(100, 100, [&](TCanvas& c) {
        c.SetFont(font);
        c.SetBrushStyle(TBrushStyle::bsClear);
        c.TextOut(10, 90, "MMMM");
    });
    EXPECT_GT(Count(turned, Black, QRect(10, 40, 25, 50)), 0); // above the origin
    EXPECT_EQ(Count(turned, Black, QRect(40, 0, 60, 100)), 0);
    EXPECT_EQ(Count(turned, Black, QRect(0, 91, 100, 9)), 0);

    font.Escapement = 0;
    const QImage clipped = Draw(100, 100, [&](TCanvas& c) {
        c.SetFont(font);
        c.SetBrushStyle(TBrushStyle::bsClear);
        TRect rect{10, 10, 30, 60};
        c.DrawText("MMMMMMMMMMMM", rect, DT_LEFT);
    });
    EXPECT_GT(Count(clipped, Black, QRect(10, 10, 20, 50)), 0);
    EXPECT_EQ(Count(clipped, Black, QRect(30, 0, 70, 100)), 0);
}

TEST(QtCanvas, RegionToQRegion) {
    const TRegion region =
        TRegion::CombineRgn(TRegion::CreateRectRgn(0, 0, 10, 10),
                            TRegion::CreateRectRgn(5, 5, 20, 8), TCombineMode::RGN_OR);
    const QRegion q = ToQRegion(region);
    EXPECT_TRUE(q.contains(QPoint(19, 7)));
    EXPECT_FALSE(q.contains(QPoint(19, 8)));
    EXPECT_TRUE(q.contains(QPoint(0, 9)));
    EXPECT_FALSE(q.contains(QPoint(10, 0)));
}

} // namespace
} // namespace vesk
