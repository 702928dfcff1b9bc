// The font dialog's side of a designed font: what the dialog starts with, and what its
// choice makes of the font. The dialog speaks points and the four styles; the designed
// font keeps whatever the dialog does not offer (its colour).
#pragma once

#include "platform/graphics/Graphics.h"

#include <QFont>

namespace vesk {

// The font the dialog shows for Font: its name, its size in points and its styles.
QFont ToDialogFont(const TFont& font);
// Font with the dialog's choice: the name, the size (in points; a font sized in pixels
// at the host's 96 per inch; none at all keeps Font's) and exactly the styles chosen, so
// that a style taken off is gone and the others stay as chosen.
TFont FromDialogFont(const QFont& chosen, TFont font);

// The style bits of a QFont, and the QFont with exactly the styles of Styles.
TFontStyles FontStylesOf(const QFont& font);
void SetFontStyles(QFont& font, TFontStyles styles);

} // namespace vesk
