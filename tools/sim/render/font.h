// A 5 x 7 pixel font for labels on pictures and plots, drawn as GL quads.
#pragma once

#include <string>

namespace skysim {

// Sets a pixel-exact orthographic view (origin at the top left, y downwards) over w x h pixels with
// lighting, depth test and blending off, for drawText and 2D lines.
void beginPixelView(int w, int h);

// Draws text with its top-left corner at (x, y) pixels, each font pixel `scale` pixels wide, in the
// current colour. Letters are shown in upper case; characters without a glyph draw as a blank.
// Returns the width drawn in pixels.
int drawText(double x, double y, int scale, const std::string& text);

// Width in pixels that drawText would take.
int textWidth(const std::string& text, int scale);

} // namespace skysim
