#include "platform/qt/ControlInput.h"

namespace vesk {

TShiftState ShiftStateOf(const QMouseEvent& event) {
    TShiftState shift = 0;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    if (event.type() == QEvent::MouseButtonDblClick)
        shift |= ssDouble;
    return shift;
}

TMouseButton MouseButtonOf(const QMouseEvent& event) {
    switch (event.button()) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

TRect ClientRect(const QWidget& widget) {
    return {0, 0, widget.width(), widget.height()};
}

} // namespace vesk
