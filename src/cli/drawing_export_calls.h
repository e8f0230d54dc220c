#pragma once

#include "workbook/export_calls.h"

namespace tavo {
class TJwObject;
}

namespace tavo::cli {

// A host's export calls with the drawing kept by the command rather than
// by the library, so that the command can count and write it itself: the
// settings are read through the exports as any host reads them, and the
// drawing is made by the conversion the exports use.
class DrawingExportCalls : public workbook::LibraryExportCalls {
public:
    explicit DrawingExportCalls(TJwObject& drawing) : drawing_(drawing) {}

    void ObjCreateByInifile() override;
    void SetObjComment(const std::string& comment1, const std::string& comment2) override;
    void AddLine(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay, uint8_t lineType) override;
    void AddText(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                 const std::string& text) override;
    void AddTextV(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                  const std::string& text) override;
    void AddCircle(float x, float y, float r, float flatness, float startAngle, float endAngle, float tilt,
                   uint8_t color, uint8_t lay, uint8_t lineType) override;
    void AddSolid(float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) override;

private:
    TJwObject& drawing_;
};

}  // namespace tavo::cli
