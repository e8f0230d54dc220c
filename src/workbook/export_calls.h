#pragma once

#include <cstdint>
#include <string>

#include "tavo.h"

namespace tavo::workbook {

// The exports a host calls to convert a worksheet, as one small interface:
// LibraryExportCalls makes the real calls through tavo.h, and
// RecordingExportCalls keeps them for tests. Texts are Shift-JIS bytes and
// coordinates millimetres on the paper, as the exports take them.
class ExportCalls {
public:
    virtual ~ExportCalls() = default;

    virtual TavoSettings ReadInifile() = 0;
    virtual std::string ReadIniString(int16_t slot) = 0;
    virtual void ObjCreateByInifile() = 0;
    virtual void SetObjComment(const std::string& comment1, const std::string& comment2) = 0;
    virtual void AddLine(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay, uint8_t lineType) = 0;
    virtual void AddText(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                         const std::string& text) = 0;
    virtual void AddTextV(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay,
                          const std::string& text) = 0;
    virtual void AddCircle(float x, float y, float r, float flatness, float startAngle, float endAngle, float tilt,
                           uint8_t color, uint8_t lay, uint8_t lineType) = 0;
    virtual void AddSolid(float x1, float y1, float x2, float y2, int32_t color, uint8_t lay) = 0;
};

// The message the library keeps for its last export call ("" when that call
// succeeded), taken as bytes. Every export clears it and sets it when it fails.
std::string TakeLastLibraryError();
// The same, thrown as Error when there is one.
void ThrowOnLastLibraryError();

// The exports of this process's library. A call that fails (the library
// keeps a last-error message) throws Error with that message.
class LibraryExportCalls : public ExportCalls {
public:
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
};

}  // namespace tavo::workbook
