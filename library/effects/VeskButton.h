// TVeskSpeedButton: the host's speed button drawn as a 3-D outline whose ends are
// half-circles of radius Radius, each bulging outwards or inwards (LeftBorder,
// RightBorder); with both raised and a radius of half the size it is a ring.
// Pressing, clicking, grouping and the Flat look stay the host button's.
#pragma once

#include "library/effects/RoundFrame.h"
#include "platform/qt/SpeedButton.h"

#include <string_view>

namespace vesk {

// True when the screen pointer lies within the control's client rectangle, edges
// included.
bool MouseInControl(const QWidget& control);

class TVeskSpeedButton : public TSpeedButton {
    Q_OBJECT

public:
    explicit TVeskSpeedButton(QWidget* owner = nullptr);

    int Radius() const { return FRadius; }
    // Grows the button to hold a circle of the radius (never shrinks it) and repaints.
    void SetRadius(int value);
    TCircleType LeftBorder() const { return FLeftBorder; }
    // The new shape shows at the next repaint.
    void SetLeftBorder(TCircleType value) { FLeftBorder = value; }
    TCircleType RightBorder() const { return FRightBorder; }
    void SetRightBorder(TCircleType value) { FRightBorder = value; }

    void Paint(TCanvas& canvas) override;

protected:
    bool event(QEvent* event) override;

private:
    int FRadius = 0;
    TCircleType FLeftBorder = ctLowered;
    TCircleType FRightBorder = ctLowered;
};

// The registered class TVeskSpeedButton with its live binding (registered on first use).
const TClassInfo& VeskSpeedButtonClass();

namespace VeskButton {
// Puts TVeskSpeedButton on the palette page "Vesk".
void Register();
} // namespace VeskButton

} // namespace vesk
