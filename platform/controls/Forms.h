// The application-wide screen state: the mouse cursor shown over every window, which
// the components change, and the designed forms that are open. The pure core uses it
// through TScreen; a host installs a TScreen that maps it onto its toolkit.
#pragma once

namespace vesk {

class TComponent;

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

    // The designed forms that are open, each the root of its component model (not
    // owned); Forms is none outside 0..FormCount-1.
    virtual int FormCount() const { return 0; }
    virtual TComponent* Forms(int /*index*/) const { return nullptr; }

protected:
    virtual void ShowCursor(TCursor /*value*/) {}

private:
    TCursor FCursor = crDefault;
};

// The screen in use: the one installed with SetScreen, else a plain one that only
// remembers its cursor and has no forms.
TScreen& Screen();
// Installs Value (not owned); none goes back to the plain screen.
void SetScreen(TScreen* value);

} // namespace vesk
