#include "jwc/jwc_session.h"

#include "base/error.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"

namespace tavo {

void JwcSession::create(int32_t plotSize, int32_t scale) {
    auto d = std::make_unique<TJwcFile>();
    d->paperSize = plotSize;
    d->scale = scale;
    d->unitDivisor = UnitDivisorFor(plotSize);
    ShowAllLayersAndGroups(*d);
    for (int g = 0; g < 16; ++g) SetGroupScale(*d, g, static_cast<int16_t>(scale));
    adopt(std::move(d));
}

void JwcSession::adopt(std::unique_ptr<TJwcFile> drawing) {
    drawing_ = std::move(drawing);
    unitDivisor_ = drawing_->unitDivisor;
    textOffset_ = 0;
}

void JwcSession::destroy() { drawing_.reset(); }

TJwcFile& JwcSession::drawing() const {
    if (!drawing_) throw Error("there is no current JWC drawing: call JwcCreate first");
    return *drawing_;
}

// The writer measures the text area it writes, which for a built drawing is
// the text offset counter and for a loaded one what its texts take.
void JwcSession::saveTo(const std::string& path) { SaveJwcFile(drawing(), path); }

void JwcSession::loadFrom(const std::string& path) { LoadJwcFile(drawing(), path); }

void JwcSession::setComment(std::string_view comment1, std::string_view comment2) {
    TJwcFile& d = drawing();
    d.comment1 = comment1;
    d.comment2 = comment2;
}

void JwcSession::setMojiTable(int32_t row, uint16_t pen, uint16_t width, uint16_t height, uint16_t spacing) {
    MojiTable& t = drawing().head.Table;
    if (row < 0 || row > 10) return;
    t.Pen[row] = pen;
    t.Width[row] = width;
    t.Height[row] = height;
    t.Spacing[row] = spacing;
}

float JwcSession::toUnits(float value, CoordUnit unit) const {
    return unit == CoordUnit::PaperMm ? value / unitDivisor_ : value;
}

void JwcSession::addSen(float x1, float y1, float x2, float y2, uint8_t color, uint8_t lay, uint8_t lineType,
                        uint8_t spareByte, uint16_t spareWord, CoordUnit unit) {
    Sen& s = drawing().addSen();
    s = Sen{toUnits(x1, unit), toUnits(y1, unit), toUnits(x2, unit), toUnits(y2, unit),
            lineType, color, lay, spareByte, spareWord};
}

void JwcSession::addEnko(float x, float y, float r, uint16_t flatness, int32_t startAngle, int32_t endAngle,
                         int32_t tilt, uint8_t color, uint8_t lay, uint8_t lineType, uint8_t spareByte,
                         uint16_t spareWord, CoordUnit unit) {
    Enko& e = drawing().addEnko();
    e = Enko{toUnits(x, unit), toUnits(y, unit), toUnits(r, unit), flatness, NormalizedFixedAngle(startAngle),
             NormalizedFixedAngle(endAngle), NormalizedFixedAngle(tilt), lineType, color, lay, spareByte, spareWord};
}

void JwcSession::addMoji(float x1, float y1, float x2, float y2, uint8_t mojiNo, uint8_t lay, uint16_t flags,
                         std::string_view text, CoordUnit unit) {
    TJwcFile& d = drawing();
    // The text first: it is the step that can fail, and a record must never
    // be left without its text.
    d.appendText(text);
    Moji& m = d.addMoji();
    m = Moji{toUnits(x1, unit), toUnits(y1, unit), toUnits(x2, unit), toUnits(y2, unit), textOffset_,
             mojiNo, lay, flags};
    textOffset_ = static_cast<int32_t>(static_cast<uint32_t>(textOffset_) + static_cast<uint32_t>(text.size()) + 1u);
}

void JwcSession::addTen(float x, float y, uint8_t color, uint8_t lay, uint16_t spareWord, CoordUnit unit) {
    Ten& t = drawing().addTen();
    t = Ten{toUnits(x, unit), toUnits(y, unit), lay, color, spareWord};
}

}  // namespace tavo
