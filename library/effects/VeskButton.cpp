#include "library/effects/VeskButton.h"

#include "platform/design/Palette.h"
#include "platform/qt/HostWidgets.h"
#include "platform/rtl/SysUtils.h"

#include <QCursor>
#include <climits>

namespace vesk {

bool MouseInControl(const QWidget& control) {
    const QPoint at = control.mapFromGlobal(QCursor::pos());
    return PointInClientRect(ClientRect(control), {at.x(), at.y()});
}

TVeskSpeedButton::TVeskSpeedButton(QWidget* owner) : TSpeedButton(owner) {}

void TVeskSpeedButton::SetRadius(int value) {
    if (value == FRadius)
        return;
    if (width() / 2 < value)
        resize(2 * value, height());
    if (height() / 2 < value)
        resize(width(), 2 * value);
    FRadius = value;
    Refresh();
}

void TVeskSpeedButton::Paint(TCanvas& canvas) {
    DrawRoundFrame(ClientRect(), FRadius, canvas, isEnabled(), Flat(), State() == bsDown,
                   MouseInControl(*this), FLeftBorder, FRightBorder);
}

bool TVeskSpeedButton::event(QEvent* event) {
    return ApplyDynamicProperty(*this, event, VeskSpeedButtonClass()) || TSpeedButton::event(event);
}

const TClassInfo& VeskSpeedButtonClass() {
    TClassInfo& info = DescribeVeskSpeedButton();
    if (info.Live())
        return info;
    using V = const TValue&;
    using S = const TLiveScope*;
    using W = TVeskSpeedButton;
    auto b = MakeWidgetClass<W>();
    BindSpeedButton(*b);
    static const TPropInfo* circle = info.FindProp("LeftBorder");
    b->Bind(
        "Radius", [](const W& w) { return TValue::Integer(w.Radius()); },
        [](W& w, V v, S) {
            const std::int64_t radius = IntegerValue(v);
            if (radius < 0 || radius > 10000)
                throw ERangeError("Radius must be from 0 to 10000, not " + IntToStr(radius));
            w.SetRadius(static_cast<int>(radius));
        });
    b->Bind(
        "LeftBorder", [](const W& w) { return EnumToValue(*circle, w.LeftBorder()); },
        [](W& w, V v, S) { w.SetLeftBorder(TCircleType(OrdinalOf(*circle, v))); });
    b->Bind(
        "RightBorder", [](const W& w) { return EnumToValue(*circle, w.RightBorder()); },
        [](W& w, V v, S) { w.SetRightBorder(TCircleType(OrdinalOf(*circle, v))); });
    info.SetLive(b);
    return info;
}

namespace VeskButton {

void Register() {
    RegisterComponents("Vesk", {&VeskSpeedButtonClass()});
}

} // namespace VeskButton

} // namespace vesk
