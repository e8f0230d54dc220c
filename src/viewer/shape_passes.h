#pragma once

#include "viewer/canvas.h"
#include "viewer/paint_cache.h"

namespace tavo {

struct TSolidItem;
struct TLineItem;
struct TCircleItem;
struct TDotItem;

// The drawing passes for everything but texts. Without an entity a pass
// draws its whole list in order; with one it draws only that entity.
void DrawSolids(Canvas& canvas, const TRenderContext& ctx, const TSolidItem* only = nullptr);
void DrawLines(Canvas& canvas, const TRenderContext& ctx, const TLineItem* only = nullptr);
void DrawCircles(Canvas& canvas, const TRenderContext& ctx, const TCircleItem* only = nullptr);
void DrawDots(Canvas& canvas, const TRenderContext& ctx, const TDotItem* only = nullptr);

// A line of line type `type` by its pattern, in client pixels; only the part
// inside the clip rectangle is drawn.
void DrawDashedLine(Canvas& canvas, const TRenderContext& ctx, int type, PixelPoint from, PixelPoint to);
// A circular arc of line type `type` by its pattern; angles in degrees.
void DrawDashedArc(Canvas& canvas, const TRenderContext& ctx, int type, int32_t cx, int32_t cy, int32_t r,
                   double startDegrees, double endDegrees);

// Segment count above which arcs and ellipses are not split further: a
// figure longer than this many pixels (past a paper-sized circle at the
// deepest zoom) gets pieces of a few pixels, where its dashes stretch alike.
constexpr int64_t kMaxArcSegments = int64_t{1} << 21;

}  // namespace tavo
