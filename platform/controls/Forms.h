// The application-wide screen state the components change: the mouse cursor shown
// over every window. The pure core sets it through TScreen; a widget layer installs
// a TScreen that maps it onto its toolkit.
#pragma once

namespace vesk {

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crHourGlass = -11;

class TScreen {
public:
    virtual ~TScreen() = default;
    TCursor Cursor() const { return FCursor; }
    // Remembers the cursor and lets the toolkit show it (ShowCursor).
    void SetCursor(TCursor value);

protected:
    virtual void ShowCursor(TCursor /*value*/) {}

private:
    TCursor FCursor = crDefault;
};

// The screen in use: the one installed with SetScreen, else a plain one that only
// remembers its cursor.
TScreen& Screen();
// Installs Value (not owned); none goes back to the plain screen.
void SetScreen(TScreen* value);

} // namespace vesk
