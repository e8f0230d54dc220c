#pragma once

#include <cstdint>
#include <string>

namespace tavo {

class TJwObject;
struct TSettings;

// A new export drawing as the stored settings describe it: paper, drawing
// scale, group scales and the ten text sizes (tenths of a millimetre become
// millimetres).
void ApplySettings(TJwObject& drawing, const TSettings& settings);

// The host's worksheet elements, in paper millimetres. `lay` carries the
// group in its high nibble and the layer in its low one; every coordinate
// and length is multiplied by its group's scale (rounded to f32), angles and
// flattening are not; angles are kept from 0 up to 360 degrees.
void AddSheetLine(TJwObject& d, float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay,
                  uint8_t lineType);
void AddSheetText(TJwObject& d, float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                  std::string text, bool vertical);
void AddSheetCircle(TJwObject& d, float x, float y, float r, float flatness, float startAngle, float endAngle,
                    float tilt, uint8_t color, uint8_t lay, uint8_t lineType);
void AddSheetSolid(TJwObject& d, float x1, float y1, float x2, float y2, int32_t color, uint8_t lay);

}  // namespace tavo
