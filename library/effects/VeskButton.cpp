#include "library/effects/VeskButton.h"

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

void TVeskSpeedButton::SetPublishedProperty(std::string_view name, std::string_view value) {
    auto is = [&](std::string_view property) { return SameText(name, property); };
    if (is("Radius"))
        SetRadius(IntegerFromText(value, 0, 10000, name));
    else if (is("LeftBorder"))
        SetLeftBorder(CircleTypeFromName(value));
    else if (is("RightBorder"))
        SetRightBorder(CircleTypeFromName(value));
    else if (is("Flat"))
        SetFlat(BooleanFromText(value));
    else if (is("AllowAllUp"))
        SetAllowAllUp(BooleanFromText(value));
    else if (is("GroupIndex"))
        SetGroupIndex(IntegerFromText(value, INT_MIN, INT_MAX, name));
    else if (is("Down"))
        SetDown(BooleanFromText(value));
    else if (is("Enabled"))
        setEnabled(BooleanFromText(value));
    else if (is("Caption"))
        SetCaption(std::string(value));
    else
        throw EConvertError("TVeskSpeedButton has no property '" + std::string(name) + "'");
}

} // namespace vesk
