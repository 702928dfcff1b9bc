// The About box's pure parts: its shape, its etched edge, the bands of the version
// text, the colour shifts of the timer and the window's hit test.
#include "expert/about/VeskAboutEngine.h"
#include "platform/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

// The window as the animation sees it, with recording bitmaps.
class TRecordingForm : public IAboutForm {
public:
    void SetColor(TColor color) override { Colors.push_back(color); }
    std::unique_ptr<TBitmap> GetFormImage() override {
        if (Fail)
            throw std::runtime_error("cannot render");
        return std::make_unique<TRecordingBitmap>(215, 291, "image");
    }
    std::vector<TColor> Colors;
    bool Fail = false;
};

// Random numbers counted up from 0, so every colour is known.
TRandomSource Counter() {
    auto next = std::make_shared<int>(0);
    return [next](int range) { return (*next)++ % range; };
}

TEST(AboutRegion, IsThePennant) {
    const TRegion region = AboutRegion(215, 291);
    for (TPoint in : {TPoint{10, 10}, TPoint{107, 280}, TPoint{200, 15}, TPoint{20, 0},
                      TPoint{0, 20}, TPoint{107, 150}})
        EXPECT_TRUE(region.Contains(in.X, in.Y)) << in.X << "," << in.Y;
    // Outside the rounded corner, and beside the triangle.
    for (TPoint out : {TPoint{1, 1}, TPoint{10, 100}, TPoint{200, 200}, TPoint{213, 2},
                       TPoint{107, 291}, TPoint{215, 20}})
        EXPECT_FALSE(region.Contains(out.X, out.Y)) << out.X << "," << out.Y;
    EXPECT_EQ(region.Bounds().Left, 0);
    EXPECT_EQ(region.Bounds().Right, 215);
}

TEST(AboutFrame, TwoLinesWithTheColoursSwappedInside) {
    TRecordingCanvas canvas;
    Frame(canvas, Rect(1, 1, 214, 290), clWhite, clGray);
    EXPECT_EQ(canvas.Log(),
              (Strings{"SetPenColor(clWhite)", "Arc(1,1,41,41,21,1,1,21)", "MoveTo(1,20)",
                       "LineTo(107,290)", "MoveTo(20,1)", "LineTo(194,1)", "SetPenColor(clGray)",
                       "Arc(174,1,214,41,214,21,194,1)", "MoveTo(214,21)", "LineTo(107,290)",
                       // one pixel in: the colours swap, the slopes end two pixels higher
                       "SetPenColor(clGray)", "Arc(2,2,42,42,22,2,2,22)", "MoveTo(2,20)",
                       "LineTo(107,287)", "MoveTo(20,2)", "LineTo(193,2)", "SetPenColor(clWhite)",
                       "Arc(173,2,213,42,213,22,193,2)", "MoveTo(212,22)", "LineTo(107,287)"}));
}

TEST(AboutBands, StartLeftOfTheBoxAndFollowStepApart) {
    // Offset 0: the first band has no width; the next ones begin 58 pixels left.
    const std::vector<TBand> bands = FrameBands(0, 29, 207, 29);
    ASSERT_EQ(bands.size(), 11u);
    EXPECT_EQ(bands[0], (TBand{-58, 0, 1}));
    EXPECT_EQ(bands[1], (TBand{-58, 29, 2}));
    EXPECT_EQ(bands[2], (TBand{-29, 29, 3}));
    EXPECT_EQ(bands.back(), (TBand{203, 29, 11}));
    // Offset 5 moves all but the first by 5.
    const std::vector<TBand> moved = FrameBands(5, 29, 207, 29);
    EXPECT_EQ(moved[0], (TBand{-58, 5, 1}));
    EXPECT_EQ(moved[1], (TBand{-53, 29, 2}));
    EXPECT_EQ(moved.back().X + 29, 208); // the last one reaches past the right edge
    // A box too narrow for bands keeps only the first.
    EXPECT_EQ(FrameBands(0, 0, 6, 29).size(), 1u);
}

TEST(AboutAnimation, CreateBoxCapturesTheTextOnBlackAndDrawsTheFirstFrame) {
    TRecordingForm form;
    TAboutAnimation animation(Rect(4, 4, 211, 33), Counter());
    animation.CreateBox(form);
    EXPECT_EQ(form.Colors, (std::vector<TColor>{clBlack, clBtnFace}));
    EXPECT_EQ(animation.Step(), 29);
    EXPECT_EQ(animation.Offset(), 0);
    EXPECT_FALSE(animation.Creating());
    auto& base = static_cast<TRecordingBitmap&>(*animation.Base());
    EXPECT_EQ(base.Canvas().Log(), Strings{"CopyRect(0,0,207,29,image,4,4,211,33)"});
    // Every channel 64 and up; blue is drawn first: 0, 1, 2 give blue 64, green 65, red 66.
    EXPECT_EQ(animation.Colors(1), RGB(66, 65, 64));
    for (int i = 1; i <= TAboutAnimation::ColorCount; ++i) {
        const TColor c = animation.Colors(i);
        for (int channel : {GetRValue(c), GetGValue(c), GetBValue(c)}) {
            EXPECT_GE(channel, 64);
            EXPECT_LE(channel, 255);
        }
    }
    EXPECT_THROW(animation.Colors(0), ERangeError);
    EXPECT_THROW(animation.Colors(256), ERangeError);

    // The frame: the base, the mask mode, then band by band, stopping at the right edge.
    auto& buffer = static_cast<TRecordingCanvas&>(animation.Buffer()->Canvas());
    const Strings log = buffer.Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "Draw(0,0,image.bitmap1)");
    EXPECT_EQ(log[1], "SetPenMode(pmMask)");
    EXPECT_EQ(log[2], "SetPenColor(" + ColorToString(animation.Colors(1)) + ")");
    EXPECT_EQ(log[3], "SetPenColor(" + ColorToString(animation.Colors(2)) + ")"); // band 1 empty
    EXPECT_EQ(log[4], "MoveTo(-58,0)");
    EXPECT_EQ(log[5], "LineTo(-29,29)");
    // Bands 2 to 10 have all 29 lines; band 11 starts at 203 and has room for 4.
    EXPECT_EQ(buffer.Log({"LineTo"}).size(), 9u * 29 + 4);
    EXPECT_EQ(buffer.Log({"MoveTo"}).back(), "MoveTo(206,0)");
}

TEST(AboutAnimation, TicksMoveThePatternAndEveryStepTheColours) {
    TRecordingForm form;
    TAboutAnimation animation(Rect(4, 4, 211, 33), Counter());
    animation.CreateBox(form);
    const TColor first = animation.Colors(1);
    const TColor second = animation.Colors(2);
    TRecordingCanvas picture("picture");
    TRecordingCanvas window("window");
    for (int tick = 1; tick < 29; ++tick) {
        animation.Timer1Timer(picture, window);
        EXPECT_EQ(animation.Offset(), tick);
    }
    EXPECT_EQ(animation.Colors(1), first);
    animation.Timer1Timer(picture, window); // the 29th
    EXPECT_EQ(animation.Offset(), 0);
    EXPECT_EQ(animation.Colors(2), first);
    EXPECT_EQ(animation.Colors(3), second);
    // The counter gave 3 * 255 numbers at creation: the new colour takes the next three.
    EXPECT_EQ(animation.Colors(1), RGB(64 + 767 % 192, 64 + 766 % 192, 64 + 765 % 192));

    // Each tick composes the frame over the picture under the box onto the window.
    window.Clear();
    animation.Timer1Timer(picture, window);
    EXPECT_EQ(window.Log(),
              (Strings{"CreateBitmap(207,29)=window.bitmap30", "Draw(4,4,window.bitmap30)"}));
    EXPECT_TRUE(animation.Buffer()->Transparent());
    EXPECT_EQ(animation.Buffer()->TransparentColor(), clBlack);
}

TEST(AboutAnimation, TheColourIsPutBackWhenCapturingFails) {
    TRecordingForm form;
    form.Fail = true;
    TAboutAnimation animation(Rect(4, 4, 211, 33), Counter());
    EXPECT_THROW(animation.CreateBox(form), std::runtime_error);
    EXPECT_EQ(form.Colors, (std::vector<TColor>{clBlack, clBtnFace}));
    // Nothing to draw with: ticks and repaints do nothing.
    TRecordingCanvas canvas;
    animation.Timer1Timer(canvas, canvas);
    animation.BoxPaint(canvas);
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST(AboutHitTest, OnlyTheButtonsSquareDoesNotDrag) {
    const TRect button = Rect(83, 94, 133, 144);
    EXPECT_TRUE(IsCaptionPoint(button, {10, 10}));
    EXPECT_TRUE(IsCaptionPoint(button, {82, 100}));
    EXPECT_TRUE(IsCaptionPoint(button, {134, 144}));
    EXPECT_FALSE(IsCaptionPoint(button, {108, 119}));
    // The square's corners lie outside the ring, yet they are the button's; so are its
    // right and bottom edges.
    EXPECT_FALSE(IsCaptionPoint(button, {84, 95}));
    EXPECT_FALSE(IsCaptionPoint(button, {133, 144}));
}

} // namespace
} // namespace vesk
