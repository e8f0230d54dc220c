#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/geometry.h"
#include "export/dxf_codes.h"
#include "export/dxf_entities.h"
#include "export/dxf_names.h"

namespace tavo {

class TJwObject;

// Handles of the records every R2000 and R2018 file has.
namespace dxf_handle {
constexpr uint64_t kBlockRecordTable = 0x1, kLayerTable = 0x2, kStyleTable = 0x3, kLineTypeTable = 0x5,
                   kViewTable = 0x6, kUcsTable = 0x7, kViewportTable = 0x8, kAppIdTable = 0x9, kDimStyleTable = 0xA,
                   kRootDictionary = 0xC, kGroupDictionary = 0xD;
constexpr uint64_t kModelSpace = 0x10, kPaperSpace = 0x11, kFirstBlock = 0x12;  // two blocks, each with its end
constexpr uint64_t kActiveViewport = 0x16, kAcadAppId = 0x17, kStandardDimStyle = 0x18, kStandardStyle = 0x19,
                   kLayerZero = 0x1A, kByBlock = 0x1B, kByLayer = 0x1C, kContinuous = 0x1D;
constexpr uint64_t kFirstLayer = 0x20;      // plus group x 16 + layer
constexpr uint64_t kFirstLineType = 0x120;  // plus the JW line type
// Entities count up from here, above all table entries.
constexpr uint64_t kFirstEntity = 0x200;
}  // namespace dxf_handle

// What the sections before the entities say about the drawing.
struct DxfPlan {
    DxfProfile Profile = DxfProfile::Jw;
    DxfLayersUsed Used{};
    std::array<std::string, 256> LayerNames;
    std::array<bool, 256> LayerShown{};
    std::array<bool, 10> LineTypeUsed{};  // by JW line type, 2 to 9
    WorldPoint ExtentMin, ExtentMax;      // of what is drawn, or of the sheet for an empty drawing
    WorldPoint SheetSize;                 // the landscape paper, mm
    double SheetScale = 1;
    uint64_t HandleSeed = dxf_handle::kFirstEntity;  // above every handle the file uses
};

// One walk over the drawing, before anything is written.
DxfPlan PlanDxf(const TJwObject& drawing, DxfProfile profile);

// The sections around the entities. Jw: HEADER, then TABLES with LTYPE,
// LAYER and STYLE only; R2000 and R2018: every table, BLOCKS with the model
// and paper space, OBJECTS with the root dictionary.
void WriteDxfHeader(DxfCodes& out, const DxfPlan& plan);
void WriteDxfTables(DxfCodes& out, const DxfPlan& plan);
void WriteDxfBlocks(DxfCodes& out);
void WriteDxfObjects(DxfCodes& out);

}  // namespace tavo
