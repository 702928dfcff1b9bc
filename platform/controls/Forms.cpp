#include "platform/controls/Forms.h"

namespace vesk {

namespace {
TScreen PlainScreen;
TScreen* CurrentScreen = &PlainScreen;
} // namespace

void TScreen::SetCursor(TCursor value) {
    if (value == FCursor)
        return;
    FCursor = value;
    ShowCursor(value);
}

TScreen& Screen() {
    return *CurrentScreen;
}

void SetScreen(TScreen* value) {
    CurrentScreen = value ? value : &PlainScreen;
}

} // namespace vesk
