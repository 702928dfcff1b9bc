#include "platform/qt/QtCanvas.h"
#include "platform/graphics/RecordingCanvas.h"
#include "platform/graphics/TextLayout.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
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

TEST(QtCanvas, BitmapsDrawOpaqueOrWithoutTheirTransparentColour) {
    TQtBitmap picture(4, 3); // black
    TCanvas& pc = picture.Canvas();
    pc.SetBrushColor(clRed);
    pc.FillRect(Rect(1, 0, 3, 2)); // red block, black around it
    const QRgb red = 0xFFFF0000;

    const QImage opaque = Draw(6, 5, [&](TCanvas& c) { c.Draw(1, 1, picture); });
    EXPECT_EQ(opaque.pixel(1, 1), Black);
    EXPECT_EQ(opaque.pixel(2, 1), red);
    EXPECT_EQ(opaque.pixel(0, 0), White);

    // Transparent: by default the bottom-left pixel's colour (black) is left out.
    picture.SetTransparent(true);
    const QImage automatic = Draw(6, 5, [&](TCanvas& c) { c.Draw(1, 1, picture); });
    EXPECT_EQ(automatic.pixel(1, 1), White);
    EXPECT_EQ(automatic.pixel(2, 1), red);
    EXPECT_EQ(Count(automatic, red), 4);
    // A fixed colour instead: now red goes and black stays.
    picture.SetTransparentColor(clRed);
    const QImage fixed = Draw(6, 5, [&](TCanvas& c) { c.Draw(1, 1, picture); });
    EXPECT_EQ(fixed.pixel(2, 1), White);
    EXPECT_EQ(fixed.pixel(1, 1), Black);
}

TEST(QtCanvas, CopyRectReadsAnImageCanvasAndStretches) {
    TQtBitmap source(10, 10);
    source.Canvas().SetBrushColor(clWhite);
    source.Canvas().FillRect(Rect(2, 2, 4, 4)); // a white 2 x 2 block
    const QImage copied = Draw(
        8, 8, [&](TCanvas& c) { c.CopyRect(Rect(0, 0, 4, 4), source.Canvas(), Rect(1, 1, 5, 5)); });
    EXPECT_EQ(copied.pixel(0, 0), Black);
    EXPECT_EQ(copied.pixel(1, 1), White);
    EXPECT_EQ(copied.pixel(2, 2), White);
    EXPECT_EQ(copied.pixel(3, 3), Black);
    EXPECT_EQ(copied.pixel(5, 5), White); // outside Dest: untouched
    // Stretched twice as large; a source part outside the image comes out black.
    const QImage stretched = Draw(
        8, 8, [&](TCanvas& c) { c.CopyRect(Rect(0, 0, 8, 8), source.Canvas(), Rect(2, 2, 6, 6)); });
    EXPECT_EQ(Count(stretched, White, QRect(0, 0, 4, 4)), 16);
    EXPECT_EQ(stretched.pixel(5, 5), Black);
    const QImage beyond = Draw(4, 4, [&](TCanvas& c) {
        c.CopyRect(Rect(0, 0, 4, 4), source.Canvas(), Rect(8, 8, 12, 12));
    });
    EXPECT_EQ(Count(beyond, Black), 16);
    // Copying within one bitmap reads what was there before.
    source.Canvas().CopyRect(Rect(3, 3, 5, 5), source.Canvas(), Rect(2, 2, 4, 4));
    EXPECT_EQ(source.Image().pixel(4, 4), White);
}

TEST(QtCanvas, BitmapsAndCanvasesOfAnotherKindAreRefused) {
    TQtBitmap picture(2, 2);
    TRecordingCanvas recording;
    TRecordingBitmap other(2, 2, "other");
    EXPECT_THROW(picture.Canvas().Draw(0, 0, other), EInvalidGraphic);
    EXPECT_THROW(picture.Canvas().CopyRect(Rect(0, 0, 1, 1), recording, Rect(0, 0, 1, 1)),
                 EInvalidGraphic);
    EXPECT_THROW(TQtBitmap(0, 5), EInvalidGraphic);
    // A canvas on something that is not an image cannot be read.
    QPixmap pixmap(2, 2);
    QPainter painter(&pixmap);
    TQtCanvas onPixmap(painter);
    EXPECT_THROW(picture.Canvas().CopyRect(Rect(0, 0, 1, 1), onPixmap, Rect(0, 0, 1, 1)),
                 EInvalidGraphic);
    const auto made = picture.Canvas().CreateBitmap(3, 4);
    ASSERT_NE(dynamic_cast<TQtBitmap*>(made.get()), nullptr);
    EXPECT_EQ(made->Width(), 3);
    EXPECT_EQ(static_cast<TQtBitmap&>(*made).Image().pixel(2, 3), Black);
}

// Lines on an image are set pixel by pixel; on a clipped painter they go through Qt.
// Both must give the same picture, in both pen modes.
TEST(QtCanvas, LinesOnAnImageLookTheSameWhicheverWayTheyAreDrawn) {
    auto lines = [](TCanvas& c) {
        c.SetPenColor(RGB(200, 100, 50));
        for (int j = -5; j < 30; j += 3) {
            c.MoveTo(j, 0);
            c.LineTo(j + 12, 20);
        }
        c.SetPenMode(TPenMode::pmMask);
        c.SetPenColor(RGB(0xF0, 0x0F, 0xFF));
        c.MoveTo(0, 10);
        c.LineTo(25, 10);
        c.Arc(2, 2, 18, 18, 18, 10, 18, 10);
    };
    const QImage direct = Draw(25, 20, lines, 0xFF808080);
    QImage clipped(25, 20, QImage::Format_RGB32);
    clipped.fill(0xFF808080);
    {
        QPainter painter(&clipped);
        painter.setClipRect(QRect(0, 0, 25, 20));
        TQtCanvas canvas(painter);
        lines(canvas);
    }
    EXPECT_EQ(direct, clipped);
    EXPECT_EQ(direct.pixel(3, 10), qRgb(0x80, 0x00, 0x80)); // the grey masked
    EXPECT_EQ(direct.pixel(1, 0), qRgb(200, 100, 50));      // a line in copy mode
}

} // namespace
} // namespace vesk
