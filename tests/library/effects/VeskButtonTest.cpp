#include "library/effects/VeskButton.h"
#include "platform/design/LiveObject.h"
#include "platform/graphics/RecordingCanvas.h"
#include "platform/qt/QtCanvas.h"
#include "platform/rtl/SysUtils.h"
#include "tests/library/effects/WidgetEvents.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <set>

namespace vesk {
namespace {

using test::PaintCounter;

void Mouse(QWidget& widget, QEvent::Type type, Qt::MouseButtons held, QPoint at) {
    test::SendMouse(widget, type, Qt::LeftButton, held, at);
}

void Click(QWidget& widget) {
    Mouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    Mouse(widget, QEvent::MouseButtonRelease, Qt::NoButton, {5, 5});
}

void PointerAway(QWidget& widget) {
    QCursor::setPos(widget.mapToGlobal(QPoint(widget.width() + 50, widget.height() + 50)));
}

TEST(VeskSpeedButton, SetRadiusOnlyGrowsTheButton) {
    TVeskSpeedButton button;
    EXPECT_EQ(button.Radius(), 0);
    EXPECT_EQ(button.LeftBorder(), ctLowered);
    EXPECT_EQ(button.RightBorder(), ctLowered);
    button.resize(50, 40);
    button.SetRadius(30);
    EXPECT_EQ(button.size(), QSize(60, 60));
    button.SetRadius(10);
    EXPECT_EQ(button.size(), QSize(60, 60));
    EXPECT_EQ(button.Radius(), 10);
}

TEST(VeskSpeedButton, PointerOnTheRightOrBottomEdgeIsOverTheButton) {
    TVeskSpeedButton button;
    button.resize(50, 50);
    button.move(100, 100);
    QCursor::setPos(button.mapToGlobal(QPoint(50, 50)));
    EXPECT_TRUE(MouseInControl(button));
    QCursor::setPos(button.mapToGlobal(QPoint(1, 1)));
    EXPECT_TRUE(MouseInControl(button));
    QCursor::setPos(button.mapToGlobal(QPoint(51, 20)));
    EXPECT_FALSE(MouseInControl(button));
}

QImage Render(TVeskSpeedButton& button) {
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(qRgb(192, 192, 192));
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    button.Paint(canvas);
    return image;
}

TEST(VeskSpeedButton, CircleOutlinePixels) {
    TVeskSpeedButton button;
    button.resize(50, 50);
    button.SetRadius(25);
    button.SetLeftBorder(ctRaised);
    button.SetRightBorder(ctRaised);
    PointerAway(button);
    const QImage image = Render(button);
    EXPECT_EQ(image.pixel(0, 24), qRgb(255, 255, 255)); // left half: light
    EXPECT_EQ(image.pixel(24, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(49, 25), qRgb(0, 0, 0));       // right half: dark
    EXPECT_EQ(image.pixel(25, 0), qRgb(0, 0, 0));        // where the halves meet, drawn last
    EXPECT_EQ(image.pixel(25, 49), qRgb(128, 128, 128)); // the inner ring's bottom edge
    EXPECT_EQ(image.pixel(25, 25), qRgb(192, 192, 192));
    EXPECT_EQ(image.pixel(0, 0), qRgb(192, 192, 192)); // the corners stay as they were
    std::set<QRgb> colours;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            colours.insert(image.pixel(x, y));
    // Not anti-aliased: only the background and the three pen colours.
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(0, 0, 0),
                                       qRgb(128, 128, 128)}));

    button.SetFlat(true);
    const QImage flat = Render(button);
    EXPECT_EQ(flat.pixel(0, 24), qRgb(192, 192, 192));
    EXPECT_EQ(flat.pixel(49, 25), qRgb(192, 192, 192));
    QCursor::setPos(button.mapToGlobal(QPoint(25, 25)));
    EXPECT_EQ(Render(button).pixel(49, 25), qRgb(128, 128, 128)); // the hover ring
}

TEST(VeskSpeedButton, OnlyTheMouseHeldStateDrawsPressed) {
    QWidget parent;
    auto* button = new TVeskSpeedButton(&parent);
    button->resize(40, 40);
    button->SetRadius(20);
    button->SetGroupIndex(1);
    button->SetDown(true);
    EXPECT_EQ(button->State(), bsExclusive);
    TRecordingCanvas latched;
    button->Paint(latched);
    EXPECT_EQ(latched.Log({"SetPenColor"}).front(), "SetPenColor(clWhite)");

    auto* other = new TVeskSpeedButton(&parent);
    other->resize(40, 40);
    Mouse(*other, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    EXPECT_EQ(other->State(), bsDown);
    TRecordingCanvas held;
    other->Paint(held);
    EXPECT_EQ(held.Log({"SetPenColor"}).front(), "SetPenColor(clBlack)");
    Mouse(*other, QEvent::MouseMove, Qt::LeftButton, {90, 5});
    EXPECT_EQ(other->State(), bsUp);
}

TEST(VeskSpeedButton, GroupKeepsOneButtonDownUnlessAllowAllUp) {
    QWidget parent;
    TVeskSpeedButton a(&parent);
    TVeskSpeedButton b(&parent);
    TVeskSpeedButton loner(&parent);
    a.resize(30, 30);
    b.resize(30, 30);
    loner.resize(30, 30);
    a.SetGroupIndex(2);
    b.SetGroupIndex(2);
    int clicks = 0;
    QObject::connect(&b, &TSpeedButton::OnClick, [&] { ++clicks; });

    Click(a);
    EXPECT_TRUE(a.Down());
    Click(b);
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(a.State(), bsUp);
    Click(b); // the last one down stays down
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(b.State(), bsExclusive);
    EXPECT_EQ(clicks, 2);

    a.SetAllowAllUp(true); // shared by the group
    EXPECT_TRUE(b.AllowAllUp());
    Click(b);
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.State(), bsUp);

    loner.SetDown(true); // no group: never latches
    EXPECT_FALSE(loner.Down());
    Mouse(loner, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    Mouse(loner, QEvent::MouseButtonRelease, Qt::NoButton, {60, 5}); // released outside
    EXPECT_EQ(loner.State(), bsUp);

    loner.setEnabled(false);
    EXPECT_EQ(loner.State(), bsDisabled);
    loner.setEnabled(true);
    EXPECT_EQ(loner.State(), bsUp);
}

TEST(VeskSpeedButton, OnlyAFlatButtonRepaintsWhenThePointerEntersOrLeaves) {
    for (const bool flat : {true, false}) {
        TVeskSpeedButton button;
        button.resize(40, 40);
        button.SetFlat(flat);
        button.show();
        QApplication::processEvents();
        PaintCounter paints;
        button.installEventFilter(&paints);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(&button, &enter);
        QApplication::processEvents();
        EXPECT_EQ(paints.Count > 0, flat);
        paints.Count = 0;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QApplication::processEvents();
        EXPECT_EQ(paints.Count > 0, flat);
    }
}

TEST(VeskSpeedButton, PublishedPropertiesThroughTheRegistry) {
    const TClassInfo& type = VeskSpeedButtonClass();
    auto live = type.Live()->Create(type, nullptr);
    auto& button = *LiveObjectAs<TVeskSpeedButton>(live.get());
    WriteLivePropertyText(*live, "Radius", "12");
    WriteLivePropertyText(*live, "rightborder", "ctraised");
    WriteLivePropertyText(*live, "Flat", "True");
    EXPECT_EQ(button.Radius(), 12);
    EXPECT_EQ(button.RightBorder(), ctRaised);
    EXPECT_TRUE(button.Flat());
    EXPECT_THROW(WriteLivePropertyText(*live, "Radius", "ten"), EConvertError);
    EXPECT_THROW(WriteLivePropertyText(*live, "LeftBorder", "round"), EConvertError);
    EXPECT_FALSE(WriteLivePropertyText(*live, "Glyph", "")); // described, not drawn
    // The button's own properties come last, with no stored default.
    const auto props = type.Properties();
    EXPECT_EQ(props.back()->Name, "RightBorder");
    EXPECT_FALSE(props.back()->Default);
    EXPECT_EQ(*type.FindProp("Spacing")->Default, TValue::Integer(4));
}

} // namespace
} // namespace vesk
