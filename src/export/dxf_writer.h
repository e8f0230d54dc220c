#pragma once

#include <string>

#include "base/byte_sink.h"
#include "export/dxf_codes.h"
#include "export/dxf_entities.h"

namespace tavo {

class TJwObject;

struct DxfOptions {
    DxfProfile Profile = DxfProfile::Jw;
    // Shift-JIS to UTF-8; the R2018 profile needs it, the others are
    // Shift-JIS throughout and leave it unused.
    DxfUtf8Encoder ToUtf8;
};

// The export drawing as a DXF file: real-world millimetres in model space,
// one layer per group and layer that holds something, JW_CAD's line types
// scaled for the sheet, pens as ACI colours (see dxf_colors.h). The entities
// are those of EmitDxfEntities, written as they come: memory stays that of
// the drawing. Throws Error when the drawing holds a value DXF cannot.
void WriteDxf(const TJwObject& drawing, ByteSink& sink, const DxfOptions& options);

// Writes the whole file beside the target and replaces it only when
// complete (an existing file becomes NAME.bak); fails with "ファイル %s を
// 作成できません", saying why.
void SaveDxf(const TJwObject& drawing, const std::string& path, const DxfOptions& options);

}  // namespace tavo
