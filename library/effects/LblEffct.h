// TLabelEffect: a label that draws its caption three times, a shadow layer, a
// highlight layer and the face, each shifted by its own direction and depth, for
// raised, sunken, shadowed, flying and rotated lettering; colours come from six
// schemes or are set one by one. With AsButton the label sinks while the left
// button holds it and rises again on release.
#pragma once

#include "library/effects/LabelEffectGeometry.h"
#include "platform/qt/CustomLabel.h"

#include <string_view>

namespace vesk {

class TLabelEffect : public TCustomLabel {
    Q_OBJECT

public:
    explicit TLabelEffect(QWidget* owner = nullptr);

    TEffectDepth DepthHighlight() const { return FDepthHighlight; }
    void SetDepthHighlight(TEffectDepth value);
    TEffectDepth DepthShadow() const { return FDepthShadow; }
    void SetDepthShadow(TEffectDepth value);
    TEffectDirection DirectionHighlight() const { return FDirectionHighlight; }
    void SetDirectionHighlight(TEffectDirection value);
    TEffectDirection DirectionShadow() const { return FDirectionShadow; }
    void SetDirectionShadow(TEffectDirection value);
    TColor ColourHighlight() const { return FColourHighlight; }
    void SetColourHighlight(TColor value);
    TColor ColourShadow() const { return FColourShadow; }
    void SetColourShadow(TColor value);
    TEffectStyle EffectStyle() const { return FEffectStyle; }
    void SetEffectStyle(TEffectStyle value);
    TColourScheme ColourScheme() const { return FColourScheme; }
    void SetColourScheme(TColourScheme value);
    bool AsButton() const { return FAsButton; }
    void SetAsButton(bool value);
    TAngleRange Angle() const { return FAngle; }
    void SetAngle(TAngleRange value);

    // The colours of each scheme as this label holds them.
    const TSchemeColours& SchemeColours() const { return FSchemeColours; }

    void Paint(TCanvas& canvas) override;
    static void SetTextAngle(TCanvas& canvas, std::uint16_t angle) {
        vesk::SetTextAngle(canvas, angle);
    }

protected:
    bool event(QEvent* event) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    template <typename T>
    void SetLayerValue(T& field, T value);
    void SetLayerColour(TColor& field, TColourPosition position, TColor value);
    void SetFontColor(TColor color);
    bool InClient(int x, int y) const;

    TEffectDepth FDepthHighlight = 1;
    TEffectDepth FDepthShadow = 1;
    TEffectDirection FDirectionHighlight = edUpLeft;
    TEffectDirection FDirectionShadow = edDownRight;
    TColor FColourHighlight = clWhite;
    TColor FColourShadow = clBlack;
    TEffectStyle FEffectStyle = esRaised;
    TColourScheme FColourScheme = csWindows;
    bool FAsButton = false;
    TAngleRange FAngle = 0;

    bool FChangingStyle = false;
    bool FChangingScheme = false;
    TSchemeColours FSchemeColours{};
    double FDegToRad = 0;
    double FCosAngle = 1.0;
    double FSinAngle = 0.0;
};

// The registered class TLabelEffect with its live binding (registered on first use).
const TClassInfo& LabelEffectClass();

namespace LblEffct {
// Puts TLabelEffect on the palette page "Vesk".
void Register();
} // namespace LblEffct

} // namespace vesk
