#pragma once

#include "viewer/paint_cache.h"
#include "viewer/view_math.h"

namespace tavo {

class TJwObject;
struct TLineItem;
struct TCircleItem;
struct TDotItem;
struct TTextItem;

// True when angle a lies strictly inside the counter-clockwise sweep from s
// to e (radians; a from 0 up to 2π). s and e are first brought into 0 up to
// 2π, so a sweep given past a full turn or below zero tests as drawn.
bool AngleInArc(double s, double e, double a);

// Sets the `Selected` flag of every line, circle, point and solid (and of
// every text when `includeTexts`) to whether it lies inside the rectangle
// lo-hi (paper mm, edges inside); visibility is not considered. Texts are
// measured with the pixel metrics of the last paint.
void SelectEntitiesInRect(TJwObject& drawing, WorldPoint lo, WorldPoint hi, bool includeTexts,
                          const TPaintCache& cache, double pixelScale);

// The nearest visible entity of one kind within 8 pixels of the world point
// p, or null. Distances are paper millimetres.
TDotItem* NearestDot(TJwObject& drawing, WorldPoint p, double pixelScale);
TLineItem* NearestLine(TJwObject& drawing, WorldPoint p, double pixelScale);
TCircleItem* NearestCircle(TJwObject& drawing, WorldPoint p, double pixelScale);
TTextItem* NearestText(TJwObject& drawing, WorldPoint p, double pixelScale);

}  // namespace tavo
