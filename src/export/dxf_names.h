#pragma once

#include <array>
#include <string>
#include <vector>

#include "export/dxf_entities.h"

namespace tavo {

class TJwObject;

// Which of the 256 group x 16 + layer slots hold an entity.
using DxfLayersUsed = std::array<bool, 256>;
DxfLayersUsed DxfLayersInUse(const TJwObject& drawing);

// The DXF layer name of each slot in use (empty for the others): the group's
// name, "-" and the layer's name, each blank one replaced by its number as a
// hexadecimal digit ("0-0", "F-1"), then made safe for the profile:
// - Jw: upper-case ASCII letters, digits, "$", "-" and "_", anything else
//   "_", as JW_CAD takes names;
// - R2000, R2018: as named, but for the characters DXF names may not hold
//   (< > / \ " : ; ? * | = ` and control characters), which become "_".
// Names that come out alike, case ignored, get "_2", "_3"... in slot order.
std::array<std::string, 256> DxfLayerNames(const TJwObject& drawing, const DxfLayersUsed& used, DxfProfile profile);

// The DXF name of JW line type `type` (1 to 9; any other number is 1):
// CONTINUOUS (Continuous outside the Jw profile), then by shape the names
// AutoCAD and LibreCAD know: 2 DOT2, 3 DOT, 4 DASHED, 5 CENTER2, 6 CENTER,
// 7 DIVIDE2, 8 DIVIDE, 9 DOTX2. The LTYPE table gives their JW patterns.
std::string DxfLineTypeName(int type, DxfProfile profile);

// One bit of a JW line type's dot pattern, in millimetres on the sheet.
constexpr double kDxfLineTypeDot = 0.5;

// The dashes (positive) and gaps (negative) of JW line type 2 to 9 in
// millimetres on the sheet: one period of its dot pattern from the start of
// a dash, as DXF wants it.
std::vector<double> DxfLineTypeDashes(int type);

// The pattern drawn in characters for the LTYPE's description ("__  __  ").
std::string DxfLineTypeDescription(int type);

}  // namespace tavo
