#include "library/effects/LblEffct.h"

#include "library/effects/PropertyText.h"
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

namespace {

TFontStyles FontStylesFromText(std::string_view text) {
    // "[fsBold,fsItalic]" as form files write a set; the brackets may be left out.
    if (!text.empty() && text.front() == '[')
        text.remove_prefix(1);
    if (!text.empty() && text.back() == ']')
        text.remove_suffix(1);
    TFontStyles styles = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (SameText(item, "fsBold"))
            styles |= fsBold;
        else if (SameText(item, "fsItalic"))
            styles |= fsItalic;
        else if (SameText(item, "fsUnderline"))
            styles |= fsUnderline;
        else if (SameText(item, "fsStrikeOut"))
            styles |= fsStrikeOut;
        else if (!item.empty())
            throw EConvertError("'" + std::string(item) + "' is not a font style");
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return styles;
}

} // namespace

void TLabelEffect::SetPublishedProperty(std::string_view name, std::string_view value) {
    auto is = [&](std::string_view property) { return SameText(name, property); };
    if (is("DepthHighlight"))
        SetDepthHighlight(TEffectDepth(IntegerFromText(value, 0, MaxEffectDepth, name)));
    else if (is("DepthShadow"))
        SetDepthShadow(TEffectDepth(IntegerFromText(value, 0, MaxEffectDepth, name)));
    else if (is("DirectionHighlight"))
        SetDirectionHighlight(EffectDirectionFromName(value));
    else if (is("DirectionShadow"))
        SetDirectionShadow(EffectDirectionFromName(value));
    else if (is("ColourHighlight"))
        SetColourHighlight(StringToColor(value));
    else if (is("ColourShadow"))
        SetColourShadow(StringToColor(value));
    else if (is("EffectStyle"))
        SetEffectStyle(EffectStyleFromName(value));
    else if (is("ColourScheme"))
        SetColourScheme(ColourSchemeFromName(value));
    else if (is("AsButton"))
        SetAsButton(BooleanFromText(value));
    else if (is("Angle"))
        SetAngle(TAngleRange(IntegerFromText(value, 0, MaxAngle, name)));
    else if (is("Caption"))
        SetCaption(std::string(value));
    else if (is("Color"))
        SetColor(StringToColor(value));
    else if (is("Alignment"))
        SetAlignment(AlignmentFromName(value));
    else if (is("Transparent"))
        SetTransparent(BooleanFromText(value));
    else if (is("AutoSize"))
        SetAutoSize(BooleanFromText(value));
    else if (is("WordWrap"))
        SetWordWrap(BooleanFromText(value));
    else if (is("ShowAccelChar"))
        SetShowAccelChar(BooleanFromText(value));
    else if (is("Enabled"))
        setEnabled(BooleanFromText(value));
    else if (is("Font.Color"))
        SetFontColor(StringToColor(value));
    else if (is("Font.Name")) {
        if (value.empty())
            throw EConvertError("Font.Name must not be empty");
        TFont font = Font();
        font.Name = value;
        SetFont(font);
    } else if (is("Font.Size")) {
        TFont font = Font();
        font.Size = IntegerFromText(value, 1, 1000, name);
        SetFont(font);
    } else if (is("Font.Style")) {
        TFont font = Font();
        font.Style = FontStylesFromText(value);
        SetFont(font);
    } else
        throw EConvertError("TLabelEffect has no property '" + std::string(name) + "'");
}

} // namespace vesk
