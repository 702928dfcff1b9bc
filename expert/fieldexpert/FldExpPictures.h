// The Field Expert's pictures, drawn on a canvas: the picture at the left of each page,
// the small pointer beside an explanation, and the glyphs of its buttons. Their
// background is clFuchsia, the bottom-left pixel, shown transparent.
#pragma once

#include "platform/graphics/Graphics.h"

namespace vesk {

inline constexpr int WizardPictureWidth = 107;
inline constexpr int WizardPictureHeight = 92;
inline constexpr int PointerWidth = 16;
inline constexpr int PointerHeight = 26;
inline constexpr int GlyphSize = 16;

// The page's picture: a table becoming a form (0), fields going onto a form (1), a
// form with its captions and editors in place (2).
void DrawWizardPicture(TCanvas& canvas, int page);
// A pointing hand's arrow, pointing right.
void DrawPointer(TCanvas& canvas);

enum class TWizardGlyph { Back, Next, Cancel, Create };
void DrawGlyph(TCanvas& canvas, TWizardGlyph glyph);

} // namespace vesk
