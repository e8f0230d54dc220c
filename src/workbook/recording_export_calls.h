#pragma once

#include <array>
#include <string>
#include <vector>

#include "workbook/export_calls.h"

namespace tavo::workbook {

// One export call as the host made it.
struct RecordedCall {
    std::string name;              // "AddLine", "AddText", ...
    std::array<float, 4> xy{};     // X1, Y1, X2, Y2
    int32_t color = 0;             // pen (AddLine) or Windows colour (AddSolid)
    uint8_t lay = 0;
    uint8_t kind = 0;              // line type (AddLine) or text size (AddText, AddTextV)
    std::string text;              // texts, comments ("A\nB")
    std::array<float, 3> angles{};  // AddCircle: start, end, tilt (xy: X, Y, R, Flatness)
};

// Keeps every call instead of making it, and answers the settings reads
// from `settings` and `strings` (slots 1 to 5).
class RecordingExportCalls : public ExportCalls {
public:
    explicit RecordingExportCalls(const TavoSettings& s) : settings(s) {}

    TavoSettings settings;
    std::array<std::string, 5> strings;
    std::vector<RecordedCall> calls;

    // The calls of one name, in order.
    std::vector<RecordedCall> named(const std::string& name) const;

    TavoSettings ReadInifile() override;
    std::string ReadIniString(int16_t slot) override;
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
    void record(std::string name, std::array<float, 4> xy = {}, int32_t color = 0, uint8_t lay = 0,
                uint8_t kind = 0, std::string text = {});
};

}  // namespace tavo::workbook
