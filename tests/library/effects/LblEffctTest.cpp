#include "library/effects/LblEffct.h"
#include "platform/design/LiveObject.h"
#include "platform/graphics/RecordingCanvas.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"
#include "tests/library/effects/WidgetEvents.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

namespace vesk {
namespace {

using test::PaintCounter;

void Mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
           QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    test::SendMouse(widget, type, button, held, at, keys);
}

TEST(LabelEffect, NewLabelHasTheConstructorsValues) {
    TLabelEffect label;
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(label.ColourScheme(), csWindows);
    EXPECT_EQ(label.ColourHighlight(), clWhite);
    EXPECT_EQ(label.ColourShadow(), clBlack);
    EXPECT_EQ(label.Font().Color, clGray);
    EXPECT_EQ(label.DepthHighlight(), 1);
    EXPECT_EQ(label.DepthShadow(), 1);
    EXPECT_EQ(label.DirectionHighlight(), edUpLeft);
    EXPECT_EQ(label.DirectionShadow(), edDownRight);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_FALSE(label.AsButton());
    EXPECT_FALSE(label.AutoSize());
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.Font().Name, "Times New Roman");
    EXPECT_EQ(label.Font().Size, 20);
    EXPECT_EQ(label.SchemeColours()[csCustom], label.SchemeColours()[csWindows]);
    EXPECT_EQ(label.SchemeColours()[csSteel], (std::array<TColor, 3>{clAqua, clNavy, clTeal}));
}

class ShownLabel : public ::testing::Test {
protected:
    void SetUp() override {
        label.resize(200, 40);
        label.show();
        QApplication::processEvents();
        label.installEventFilter(&paints);
        paints.Count = 0;
    }
    TLabelEffect label;
    PaintCounter paints;
};

TEST_F(ShownLabel, EqualValuesChangeNothingAndChangesRepaintNowOrLater) {
    label.SetDepthHighlight(1);
    label.SetColourShadow(clBlack);
    label.SetEffectStyle(esRaised);
    label.SetColourScheme(csWindows);
    label.SetAngle(0);
    QApplication::processEvents();
    EXPECT_EQ(paints.Count, 0);
    EXPECT_EQ(label.EffectStyle(), esRaised);

    label.SetAsButton(true);
    label.SetDepthShadow(3);
    EXPECT_GT(paints.Count, 0) << "a depth repaints at once";
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());
    EXPECT_EQ(label.DepthHighlight(), 1);
    EXPECT_EQ(label.DirectionHighlight(), edUpLeft);
    EXPECT_EQ(label.DirectionShadow(), edDownRight);

    paints.Count = 0;
    label.SetAlignment(taCenter);
    label.SetAngle(90);
    EXPECT_EQ(paints.Count, 0) << "an angle repaints later";
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    QApplication::processEvents();
    EXPECT_GT(paints.Count, 0);
    label.SetAngle(0);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
}

TEST(LabelEffect, FlyingStyleAndSchemeSwitches) {
    TLabelEffect label;
    label.SetEffectStyle(esFlying);
    EXPECT_EQ(label.ColourHighlight(), clBlack); // the scheme's shadow colour
    EXPECT_EQ(label.DepthShadow(), 5);
    label.SetColourScheme(csGold);
    EXPECT_EQ(label.ColourHighlight(), clYellow);
    EXPECT_EQ(label.EffectStyle(), esFlying);
    label.SetDirectionShadow(edDown);
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_EQ(label.ColourHighlight(), clYellow);

    TLabelEffect gold;
    gold.SetColourScheme(csGold);
    TFont font = gold.Font();
    font.Color = clRed;
    gold.SetFont(font);
    gold.SetColourShadow(clPurple);
    EXPECT_EQ(gold.ColourScheme(), csCustom);
    EXPECT_EQ(gold.Font().Color, clOlive); // the hand-set face colour is lost
    EXPECT_EQ(gold.ColourShadow(), clPurple);
    EXPECT_EQ(gold.SchemeColours()[csCustom][cpShadow], clPurple);

    TLabelEffect steel;
    steel.SetColourScheme(csSteel);
    steel.SetColourScheme(csCustom);
    EXPECT_EQ(steel.ColourHighlight(), clAqua);
    EXPECT_EQ(steel.ColourShadow(), clNavy);
    EXPECT_EQ(steel.Font().Color, clTeal);

    TLabelEffect fresh;
    fresh.SetColourScheme(csCustom);
    EXPECT_EQ(fresh.ColourHighlight(), clWhite);
    EXPECT_EQ(fresh.Font().Color, clGray);
}

TEST(LabelEffect, AsButtonRulesThroughRealMouseEvents) {
    TLabelEffect label;
    label.resize(100, 30);
    label.SetAsButton(true);
    int downs = 0;
    QObject::connect(&label, &TCustomLabel::OnMouseDown, [&] { ++downs; });
    int moves = 0;
    QObject::connect(&label, &TCustomLabel::OnMouseMove, [&] { ++moves; });
    int ups = 0;
    QObject::connect(&label, &TCustomLabel::OnMouseUp, [&] { ++ups; });
    int clicks = 0;
    QObject::connect(&label, &TCustomLabel::OnClick, [&] { ++clicks; });

    Mouse(label, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {5, 5});
    EXPECT_EQ(label.EffectStyle(), esRaised);
    Mouse(label, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {5, 5});

    Mouse(label, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    EXPECT_EQ(label.EffectStyle(), esSunken);
    Mouse(label, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {150, 5});
    EXPECT_EQ(label.EffectStyle(), esRaised);
    Mouse(label, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {100, 30}); // edges count
    EXPECT_EQ(label.EffectStyle(), esSunken);
    Mouse(label, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {150, 5}, Qt::ShiftModifier);
    EXPECT_EQ(label.EffectStyle(), esSunken);
    Mouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {100, 10});
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(label.DirectionHighlight(), edUpLeft);

    EXPECT_EQ(downs, 0);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(clicks, 0); // released at x = width: outside the widget for a click

    Mouse(label, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    Mouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {6, 6});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(label.EffectStyle(), esRaised);

    // A release outside leaves the style the last move set.
    Mouse(label, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    Mouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {300, 5});
    EXPECT_EQ(label.EffectStyle(), esSunken);

    label.setEnabled(false);
    label.SetEffectStyle(esRaised);
    label.SetAsButton(true);
    Mouse(label, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    EXPECT_EQ(label.EffectStyle(), esRaised);

    TLabelEffect plain;
    int plainDowns = 0;
    QObject::connect(&plain, &TCustomLabel::OnMouseDown, [&] { ++plainDowns; });
    Mouse(plain, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    EXPECT_EQ(plainDowns, 1);
    EXPECT_EQ(plain.EffectStyle(), esRaised);
}

TEST(LabelEffect, DisabledAndLayoutFlagsDoNotChangeThePainting) {
    TLabelEffect label;
    label.resize(150, 40);
    label.SetCaption("A&B\tC");
    TRecordingCanvas before;
    label.Paint(before);
    label.setEnabled(false);
    label.SetWordWrap(true);
    label.SetShowAccelChar(false);
    TRecordingCanvas after;
    label.Paint(after);
    EXPECT_EQ(before.Log(), after.Log());
    EXPECT_EQ(after.Log({"DrawText"}).front(), "DrawText(2,2,152,42,80,'A&B\tC')");
}

TEST(LabelEffect, PublishedPropertiesThroughTheRegistry) {
    const TClassInfo& type = LabelEffectClass();
    auto live = type.Live()->Create(type, nullptr);
    auto& label = *LiveObjectAs<TLabelEffect>(live.get());
    WriteLivePropertyText(*live, "EffectStyle", "esShadow");
    WriteLivePropertyText(*live, "ColourShadow", "$00400040");
    WriteLivePropertyText(*live, "Font.Style", "[fsBold, fsItalic]");
    WriteLivePropertyText(*live, "Font.Size", "28");
    EXPECT_EQ(label.EffectStyle(), esShadow);
    EXPECT_EQ(label.ColourShadow(), 0x400040u);
    EXPECT_EQ(label.Font().Style, fsBold | fsItalic);
    EXPECT_EQ(label.Font().Size, 28);
    EXPECT_EQ(ValueText(*ReadLiveProperty(*live, "DirectionShadow")), "edDownRight");
    EXPECT_EQ(ValueText(*ReadLiveProperty(*live, "ColourShadow")), "4194368");
    EXPECT_THROW(WriteLivePropertyText(*live, "Depth", "1"), EPropertyError);
    EXPECT_THROW(WriteLivePropertyText(*live, "Angle", "360"), ERangeError);
    EXPECT_THROW(WriteLivePropertyText(*live, "AsButton", "yes"), EConvertError);
    EXPECT_THROW(WriteLivePropertyText(*live, "Font.Style", "[fsHuge]"), EConvertError);
    EXPECT_EQ(label.EffectStyle(), esShadow);
    // Described but not drawn: kept in the component model only.
    EXPECT_FALSE(WriteLivePropertyText(*live, "DragMode", "dmAutomatic"));
}

// The label on a white picture, every layer in its own colour.
QImage Render(TLabelEffect& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    label.Paint(canvas);
    return image;
}

TEST(LabelEffect, ShadowLayerLandsAtItsOffsetOnThePainterCanvas) {
    TLabelEffect label;
    label.resize(120, 40);
    label.SetCaption("WM");
    label.SetEffectStyle(esNone);
    label.SetColourShadow(clWhite);
    label.SetColourHighlight(clWhite);
    const QImage face = Render(label); // the face alone, gray
    label.SetEffectStyle(esShadow);    // face and highlight at (0, 0), shadow at (2, 2)
    label.SetColourShadow(clRed);
    const QImage shadowed = Render(label);
    int checked = 0;
    for (int y = 0; y + 2 < face.height(); ++y)
        for (int x = 0; x + 2 < face.width(); ++x) {
            const bool ink = face.pixel(x, y) != qRgb(255, 255, 255);
            const bool inkThere = face.pixel(x + 2, y + 2) != qRgb(255, 255, 255);
            if (ink && !inkThere) {
                EXPECT_EQ(shadowed.pixel(x + 2, y + 2), qRgb(255, 0, 0)) << x << "," << y;
                ++checked;
            }
        }
    EXPECT_GT(checked, 10);
}

} // namespace
} // namespace vesk
