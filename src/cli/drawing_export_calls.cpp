#include "cli/drawing_export_calls.h"

#include "export/jw_object.h"
#include "export/sheet_conversion.h"
#include "settings/settings_access.h"

namespace tavo::cli {

void DrawingExportCalls::ObjCreateByInifile() {
    drawing_ = TJwObject();
    ApplySettings(drawing_, ReadStoredSettings());
}

void DrawingExportCalls::SetObjComment(const std::string& comment1, const std::string& comment2) {
    drawing_.Comment1 = comment1;
    drawing_.Comment2 = comment2;
}

void DrawingExportCalls::AddLine(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay,
                                 uint8_t lineType) {
    AddSheetLine(drawing_, x1, y1, x2, y2, color, lay, lineType);
}

void DrawingExportCalls::AddText(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                 const std::string& text) {
    AddSheetText(drawing_, x1, y1, x2, y2, mojiNo, lay, text, false);
}

void DrawingExportCalls::AddTextV(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                  const std::string& text) {
    AddSheetText(drawing_, x1, y1, x2, y2, mojiNo, lay, text, true);
}

void DrawingExportCalls::AddCircle(float x, float y, float r, float flatness, float startAngle, float endAngle,
                                   float tilt, uint8_t color, uint8_t lay, uint8_t lineType) {
    AddSheetCircle(drawing_, x, y, r, flatness, startAngle, endAngle, tilt, color, lay, lineType);
}

void DrawingExportCalls::AddSolid(float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) {
    AddSheetSolid(drawing_, x1, y1, x2, y2, color, lay);
}

}  // namespace tavo::cli
