#include "library/effects/LblEffct.h"

#include "platform/design/Palette.h"
#include "platform/qt/HostWidgets.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <numbers>

namespace vesk {

TLabelEffect::TLabelEffect(QWidget* owner) : TCustomLabel(owner) {
    FSchemeColours = InitialSchemeColours();
    FDepthHighlight = 1;
    FDepthShadow = 1;
    FDirectionHighlight = edUpLeft;
    FDirectionShadow = edDownRight;
    FEffectStyle = esRaised;
    FColourScheme = csWindows;
    FColourHighlight = FSchemeColours[csWindows][cpHighlight];
    SetFontColor(FSchemeColours[csWindows][cpFace]);
    FColourShadow = FSchemeColours[csWindows][cpShadow];
    FAsButton = false;
    FAngle = 0;
    FChangingStyle = false;
    FChangingScheme = false;
    FDegToRad = std::numbers::pi / 180;
    FCosAngle = 1.0;
    FSinAngle = 0.0;
    SetAutoSize(false);
    SetTransparent(true);
    TFont font = Font();
    font.Name = "Times New Roman";
    SetFont(font);
    font.Size = 20;
    SetFont(font);
}

void TLabelEffect::SetFontColor(TColor color) {
    TFont font = Font();
    font.Color = color;
    SetFont(font);
}

// A depth or direction: leaves the named style for esCustom unless a style is being
// applied, and repaints at once.
template <typename T>
void TLabelEffect::SetLayerValue(T& field, T value) {
    if (value == field)
        return;
    field = value;
    if (!FChangingStyle)
        SetEffectStyle(esCustom);
    Refresh();
}

void TLabelEffect::SetDepthHighlight(TEffectDepth value) {
    SetLayerValue(FDepthHighlight, value);
}
void TLabelEffect::SetDepthShadow(TEffectDepth value) {
    SetLayerValue(FDepthShadow, value);
}
void TLabelEffect::SetDirectionHighlight(TEffectDirection value) {
    SetLayerValue(FDirectionHighlight, value);
}
void TLabelEffect::SetDirectionShadow(TEffectDirection value) {
    SetLayerValue(FDirectionShadow, value);
}

// A layer colour: recorded in the csCustom row before the switch to csCustom (unless
// a scheme is being applied), so that the switch finds it there; repaints at once.
void TLabelEffect::SetLayerColour(TColor& field, TColourPosition position, TColor value) {
    if (value == field)
        return;
    field = value;
    FSchemeColours[csCustom][position] = value;
    if (!FChangingScheme)
        SetColourScheme(csCustom);
    Refresh();
}

void TLabelEffect::SetColourHighlight(TColor value) {
    SetLayerColour(FColourHighlight, cpHighlight, value);
}
void TLabelEffect::SetColourShadow(TColor value) {
    SetLayerColour(FColourShadow, cpShadow, value);
}

void TLabelEffect::SetEffectStyle(TEffectStyle value) {
    if (value == FEffectStyle)
        return;
    FChangingStyle = true;
    FChangingScheme = true;
    FEffectStyle = value;
    SetColourHighlight(FSchemeColours[FColourScheme][cpHighlight]);
    switch (value) {
    case esNone:
        SetDirectionHighlight(edNone);
        SetDirectionShadow(edNone);
        SetDepthHighlight(0);
        SetDepthShadow(0);
        SetAsButton(false);
        break;
    case esCustom:
        SetAsButton(false);
        break;
    case esRaised:
        SetDirectionHighlight(edUpLeft);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esSunken:
        SetDirectionHighlight(edDownRight);
        SetDirectionShadow(edUpLeft);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esShadow:
        SetDirectionHighlight(edNone);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(0);
        SetDepthShadow(2);
        SetAsButton(false);
        break;
    case esFlying:
        SetDirectionHighlight(edDownRight);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(1);
        SetDepthShadow(5);
        // The highlight becomes a second shadow, in the scheme's shadow colour.
        SetColourHighlight(FSchemeColours[FColourScheme][cpShadow]);
        SetAsButton(false);
        break;
    }
    FChangingStyle = false;
    FChangingScheme = false;
}

void TLabelEffect::SetColourScheme(TColourScheme value) {
    if (value == FColourScheme)
        return;
    FChangingScheme = true;
    FColourScheme = value;
    SetColourHighlight(FSchemeColours[value][cpHighlight]);
    SetFontColor(FSchemeColours[value][cpFace]);
    SetColourShadow(FSchemeColours[value][cpShadow]);
    if (value != csCustom)
        FSchemeColours[csCustom] = FSchemeColours[value];
    FChangingScheme = false;
}

void TLabelEffect::SetAsButton(bool value) {
    if (value == FAsButton)
        return;
    FAsButton = value;
    if (value)
        SetEffectStyle(esRaised);
}

void TLabelEffect::SetAngle(TAngleRange value) {
    if (value == FAngle)
        return;
    FAngle = value;
    FCosAngle = std::cos(FAngle * FDegToRad);
    FSinAngle = std::sin(FAngle * FDegToRad);
    if (FAngle != 0)
        SetAlignment(taLeftJustify);
    Invalidate();
}

void TLabelEffect::Paint(TCanvas& canvas) {
    TLabelEffectLook look;
    look.DirectionHighlight = FDirectionHighlight;
    look.DirectionShadow = FDirectionShadow;
    look.DepthHighlight = FDepthHighlight;
    look.DepthShadow = FDepthShadow;
    look.ColourHighlight = FColourHighlight;
    look.ColourShadow = FColourShadow;
    look.Angle = FAngle;
    look.CosAngle = FCosAngle;
    look.SinAngle = FSinAngle;
    look.Caption = Caption();
    look.Font = Font();
    look.Color = Color();
    look.Alignment = Alignment();
    look.Transparent = Transparent();
    look.ClientRect = ClientRect();
    PaintLabelEffect(canvas, look);
}

bool TLabelEffect::InClient(int x, int y) const {
    // Inclusive on all four sides: a release at x = width still counts as inside.
    return x >= 0 && x <= ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TLabelEffect::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!FAsButton) {
        TCustomLabel::MouseDown(button, shift, x, y);
        return;
    }
    if (button == mbLeft && FEffectStyle != esSunken && isEnabled())
        SetEffectStyle(esSunken);
}

void TLabelEffect::MouseMove(TShiftState shift, int x, int y) {
    if (!FAsButton) {
        TCustomLabel::MouseMove(shift, x, y);
        return;
    }
    if (shift != ssLeft)
        return;
    SetEffectStyle(InClient(x, y) ? esSunken : esRaised);
}

void TLabelEffect::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!FAsButton) {
        TCustomLabel::MouseUp(button, shift, x, y);
        return;
    }
    if (InClient(x, y))
        SetEffectStyle(esRaised);
}

bool TLabelEffect::event(QEvent* event) {
    return ApplyDynamicProperty(*this, event, LabelEffectClass()) || TCustomLabel::event(event);
}

const TClassInfo& LabelEffectClass() {
    TClassInfo& info = DescribeLabelEffect();
    if (info.Live())
        return info;
    using V = const TValue&;
    using S = const TLiveScope*;
    using W = TLabelEffect;
    auto b = MakeWidgetClass<W>();
    BindCustomLabel(*b);
    auto prop = [&](const char* name) -> const TPropInfo& { return *info.FindProp(name); };
    static const TPropInfo* direction = &prop("DirectionHighlight");
    static const TPropInfo* style = &prop("EffectStyle");
    static const TPropInfo* scheme = &prop("ColourScheme");
    b->Bind(
        "DepthHighlight", [](const W& w) { return TValue::Integer(w.DepthHighlight()); },
        [](W& w, V v, S) { w.SetDepthHighlight(TEffectDepth(IntegerValue(v))); });
    b->Bind(
        "DepthShadow", [](const W& w) { return TValue::Integer(w.DepthShadow()); },
        [](W& w, V v, S) { w.SetDepthShadow(TEffectDepth(IntegerValue(v))); });
    b->Bind(
        "DirectionHighlight",
        [](const W& w) { return EnumToValue(*direction, w.DirectionHighlight()); },
        [](W& w, V v, S) { w.SetDirectionHighlight(TEffectDirection(OrdinalOf(*direction, v))); });
    b->Bind(
        "DirectionShadow", [](const W& w) { return EnumToValue(*direction, w.DirectionShadow()); },
        [](W& w, V v, S) { w.SetDirectionShadow(TEffectDirection(OrdinalOf(*direction, v))); });
    b->Bind(
        "ColourHighlight", [](const W& w) { return ColorToValue(w.ColourHighlight()); },
        [](W& w, V v, S) { w.SetColourHighlight(ColorValue(v)); });
    b->Bind(
        "ColourShadow", [](const W& w) { return ColorToValue(w.ColourShadow()); },
        [](W& w, V v, S) { w.SetColourShadow(ColorValue(v)); });
    b->Bind(
        "EffectStyle", [](const W& w) { return EnumToValue(*style, w.EffectStyle()); },
        [](W& w, V v, S) { w.SetEffectStyle(TEffectStyle(OrdinalOf(*style, v))); });
    b->Bind(
        "ColourScheme", [](const W& w) { return EnumToValue(*scheme, w.ColourScheme()); },
        [](W& w, V v, S) { w.SetColourScheme(TColourScheme(OrdinalOf(*scheme, v))); });
    b->Bind(
        "AsButton", [](const W& w) { return BooleanToValue(w.AsButton()); },
        [](W& w, V v, S) { w.SetAsButton(BooleanValue(v)); });
    b->Bind(
        "Angle", [](const W& w) { return TValue::Integer(w.Angle()); },
        [](W& w, V v, S) { w.SetAngle(TAngleRange(IntegerValue(v))); });
    info.SetLive(b);
    return info;
}

namespace LblEffct {

void Register() {
    RegisterComponents("Vesk", {&LabelEffectClass()});
}

} // namespace LblEffct

} // namespace vesk
