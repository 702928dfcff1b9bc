// The About box's pictures, drawn on a canvas: the background the window is cut
// from, the small emblem under the ring and the strip of the animated icon. Their
// bottom-left pixel is the transparent colour where they are shown transparent.
#pragma once

#include "platform/graphics/Graphics.h"

namespace vesk {

inline constexpr int AboutFrameCount = 9;
inline constexpr int AboutFrameSize = 32;

// Width x Height: a night-blue wash darkening downwards, with faint rings about the
// point where the animated icon sits.
void DrawAboutBackground(TCanvas& canvas, int width, int height);
// 68 x 37 on clFuchsia (the transparent colour): a small pennant.
void DrawAboutEmblem(TCanvas& canvas);
// AboutFrameCount frames of AboutFrameSize pixels side by side on clFuchsia: a planet
// with a moon that goes once round it over the strip.
void DrawAboutAnimationStrip(TCanvas& canvas);

} // namespace vesk
