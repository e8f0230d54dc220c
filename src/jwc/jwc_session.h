#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "jwc/jwc_file.h"

namespace tavo {

// Whether coordinates handed to the add operations are millimetres on the
// sheet (what the host passes) or drawing units already.
enum class CoordUnit { PaperMm, DrawingUnits };

// The JWC call family with its library-wide state: the current drawing, the
// unit divisor and the text offset counter. The exports drive one instance;
// the command line drives its own through the same operations.
class JwcSession {
public:
    // The creators; an earlier drawing is freed first.
    void create(int32_t plotSize, int32_t scale);
    void adopt(std::unique_ptr<TJwcFile> drawing);
    void destroy();

    bool hasDrawing() const { return drawing_ != nullptr; }
    // The current drawing; throws when there is none.
    TJwcFile& drawing() const;

    void saveTo(const std::string& path);
    void loadFrom(const std::string& path);

    void setComment(std::string_view comment1, std::string_view comment2);
    void setMojiTable(int32_t row, uint16_t pen, uint16_t width, uint16_t height, uint16_t spacing);

    void addSen(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay, uint8_t lineType,
                uint8_t spareByte, uint16_t spareWord, CoordUnit unit = CoordUnit::PaperMm);
    // The angles are stored from 0 up to a whole turn, the same arc.
    void addEnko(float x, float y, float r, uint16_t flatness, int32_t startAngle, int32_t endAngle,
                 int32_t tilt, uint8_t color, uint8_t lay, uint8_t lineType, uint8_t spareByte,
                 uint16_t spareWord, CoordUnit unit = CoordUnit::PaperMm);
    void addMoji(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay, uint16_t flags,
                 std::string_view text, CoordUnit unit = CoordUnit::PaperMm);
    void addTen(float x, float y, uint8_t color, uint8_t lay, uint16_t spareWord,
                CoordUnit unit = CoordUnit::PaperMm);

    float unitDivisor() const { return unitDivisor_; }
    int32_t textOffset() const { return textOffset_; }

private:
    float toUnits(float value, CoordUnit unit) const;

    std::unique_ptr<TJwcFile> drawing_;
    float unitDivisor_ = 0;
    int32_t textOffset_ = 0;
};

}  // namespace tavo
