#include "workbook/recording_export_calls.h"

namespace tavo::workbook {

void RecordingExportCalls::record(std::string name, std::array<float, 4> xy, int32_t color, uint8_t lay,
                                  uint8_t kind, std::string text) {
    RecordedCall c;
    c.name = std::move(name);
    c.xy = xy;
    c.color = color;
    c.lay = lay;
    c.kind = kind;
    c.text = std::move(text);
    calls.push_back(std::move(c));
}

std::vector<RecordedCall> RecordingExportCalls::named(const std::string& name) const {
    std::vector<RecordedCall> out;
    for (const RecordedCall& c : calls)
        if (c.name == name) out.push_back(c);
    return out;
}

TavoSettings RecordingExportCalls::ReadInifile() {
    record("ReadInifile");
    return settings;
}

std::string RecordingExportCalls::ReadIniString(int16_t slot) {
    record("ReadIniString");
    return slot >= 1 && slot <= 5 ? strings[static_cast<std::size_t>(slot - 1)] : std::string();
}

void RecordingExportCalls::ObjCreateByInifile() { record("ObjCreateByInifile"); }

void RecordingExportCalls::SetObjComment(const std::string& comment1, const std::string& comment2) {
    record("SetObjComment", {}, 0, 0, 0, comment1 + "\n" + comment2);
}

void RecordingExportCalls::AddLine(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay,
                                   uint8_t lineType) {
    record("AddLine", {x1, y1, x2, y2}, color, lay, lineType, {});
}

void RecordingExportCalls::AddText(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                   const std::string& text) {
    record("AddText", {x1, y1, x2, y2}, 0, lay, mojiNo, text);
}

void RecordingExportCalls::AddTextV(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                                    const std::string& text) {
    record("AddTextV", {x1, y1, x2, y2}, 0, lay, mojiNo, text);
}

void RecordingExportCalls::AddCircle(float x, float y, float r, float flatness, float startAngle, float endAngle,
                                     float tilt, uint8_t color, uint8_t lay, uint8_t lineType) {
    record("AddCircle", {x, y, r, flatness}, color, lay, lineType, {});
    calls.back().angles = {startAngle, endAngle, tilt};
}

void RecordingExportCalls::AddSolid(float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) {
    record("AddSolid", {x1, y1, x2, y2}, color, lay, 0, {});
}

}  // namespace tavo::workbook
