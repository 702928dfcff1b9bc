// The host controls' view of the mouse: which button, and the shift state (keys and
// buttons held), read from Qt's mouse events.
#pragma once

#include "platform/graphics/Graphics.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cstdint>

namespace vesk {

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = std::uint8_t; // a set of TShiftFlag bits

// Keys held, and the buttons held after the event (the host's shift state).
TShiftState ShiftStateOf(const QMouseEvent& event);
// The button that changed; mbLeft for a move, which has none.
TMouseButton MouseButtonOf(const QMouseEvent& event);
// The character a key gives the host's KeyPress handlers: Enter (13), Esc (27),
// backspace (8) and the ASCII characters typed; 0 for a key that types none (arrows,
// Tab, Delete, Insert, anything with Ctrl or Alt held) or one beyond ASCII.
char KeyPressCharOf(const QKeyEvent& event);
// (0, 0, width, height) of the widget.
TRect ClientRect(const QWidget& widget);

} // namespace vesk
