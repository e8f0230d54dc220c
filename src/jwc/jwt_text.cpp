#include "jwc/jwt_text.h"

#include <cstdlib>

#include "base/geometry.h"
#include "base/runtime_format.h"
#include "jwc/jwc_file.h"

namespace tavo {

namespace {

constexpr double kRadiansToDegrees = 180.0 / kPi;

}  // namespace

JwtTextBuilder::JwtTextBuilder() : text_(";<<JWT.Format.Text>>\r\nBEGIN\r\n") {}

void JwtTextBuilder::field(double value, int decimals) {
    text_ += ',';
    AppendFixed(text_, value, decimals);
}

void JwtTextBuilder::field(int value) {
    text_ += ',';
    text_ += std::to_string(value);
}

void JwtTextBuilder::endLine() { text_ += "\r\n"; }

void JwtTextBuilder::line(uint8_t lay, double x1, double y1, double x2, double y2, uint8_t lineType,
                          uint8_t color) {
    text_ += "L2";
    field(lay);
    field(x1, 2);
    field(y1, 2);
    field(x2, 2);
    field(y2, 2);
    field(lineType);
    field(color);
    endLine();
}

void JwtTextBuilder::circle(uint8_t lay, double x, double y, double r, uint8_t lineType, uint8_t color) {
    text_ += "CC";
    field(lay);
    field(x, 2);
    field(y, 2);
    field(r, 2);
    field(lineType);
    field(color);
    endLine();
}

void JwtTextBuilder::arc(uint8_t lay, double x, double y, double r, double flatness, double startAngle,
                         double endAngle, double tilt, uint8_t lineType, uint8_t color) {
    text_ += "AC";
    field(lay);
    field(x, 2);
    field(y, 2);
    field(r, 2);
    field(flatness, 3);
    field(startAngle, 2);
    field(endAngle, 2);
    field(tilt, 2);
    field(lineType);
    field(color);
    endLine();
}

void JwtTextBuilder::text(uint8_t lay, double x, double y, float direction, uint8_t mojiNo,
                          std::string_view body) {
    text_ += "ST";
    field(lay);
    field(x, 2);
    field(y, 2);
    field(direction * kRadiansToDegrees, 2);
    field(mojiNo);
    text_ += ",\"";
    text_ += body;
    text_ += '"';
    endLine();
}

void JwtTextBuilder::point(uint8_t lay, double x, double y, uint8_t color) {
    text_ += "RP";
    field(lay);
    field(x, 2);
    field(y, 2);
    field(color);
    endLine();
}

std::string JwtTextBuilder::finish() {
    text_ += "END\r\n";
    return std::move(text_);
}

std::string JwcToJwt(const TJwcFile& d, float factor) {
    const double f = factor;
    JwtTextBuilder jwt;
    for (std::size_t i = 0; i < d.sens().size(); ++i) {
        const Sen& r = d.sens()[i];
        jwt.line(r.Lay, r.X1 * f, r.Y1 * f, r.X2 * f, r.Y2 * f, r.LineType, r.Color);
    }
    for (std::size_t i = 0; i < d.enkos().size(); ++i) {
        const Enko& r = d.enkos()[i];
        const int64_t sweep = int64_t{r.EndAngle} - r.StartAngle;
        const bool whole = r.StartAngle == r.EndAngle || std::llabs(sweep) >= kWholeTurnFixed;
        if (whole && r.Flatness == 10000) {
            jwt.circle(r.Lay, r.X * f, r.Y * f, r.R * f, r.LineType, r.Color);
        } else {
            jwt.arc(r.Lay, r.X * f, r.Y * f, r.R * f, r.Flatness / 10000.0, FixedAngleToDegrees(r.StartAngle),
                    FixedAngleToDegrees(r.EndAngle), FixedAngleToDegrees(r.Tilt), r.LineType, r.Color);
        }
    }
    for (std::size_t i = 0; i < d.mojis().size(); ++i) {
        const Moji& r = d.mojis()[i];
        const auto index = static_cast<int32_t>(i);
        const float direction = static_cast<float>(DirectionOf(r.X2 - r.X1, r.Y2 - r.Y1));
        jwt.text(r.Lay, r.X1 * f, r.Y1 * f, direction, r.MojiNo,
                 index < d.textCount() ? d.textAt(index) : std::string_view());
    }
    for (std::size_t i = 0; i < d.tens().size(); ++i) {
        const Ten& r = d.tens()[i];
        jwt.point(r.Lay, r.X * f, r.Y * f, r.Color);
    }
    return jwt.finish();
}

}  // namespace tavo
