#pragma once

#include "viewer/canvas.h"
#include "viewer/paint_cache.h"

namespace tavo {

struct TTextItem;

// The text pass: every visible text, as its box while it is at most 7 pixels
// high, else glyph by glyph with the "^" escapes. `only` is accepted for
// symmetry with the other passes; texts are always drawn all together.
void DrawTexts(Canvas& canvas, const TRenderContext& ctx, const TTextItem* only = nullptr);

// The logical font of text size k at the current scale for a base line
// turned by `theta` radians.
LogicalFont TextFont(const TRenderContext& ctx, int k, double theta, bool vertical);

}  // namespace tavo
