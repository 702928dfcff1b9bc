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

char KeyPressCharOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: // moves the focus before any handler sees it
    case Qt::Key_Delete:
    case Qt::Key_Insert:
        return 0;
    default:
        break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const QString text = event.text();
    if (text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() >= 0x7f)
        return 0;
    return static_cast<char>(text[0].unicode());
}

TRect ClientRect(const QWidget& widget) {
    return {0, 0, widget.width(), widget.height()};
}

} // namespace vesk
