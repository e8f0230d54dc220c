#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

class TJwcFile;

// The JWT text that another CAD program pastes: ";<<JWT.Format.Text>>",
// "BEGIN", one line per record (lines, then arcs, texts and points) and
// "END", every line ended by CR LF. Numbers are the runtime's "%.2f" and
// "%.3f"; texts go between double quotes unescaped.
class JwtTextBuilder {
public:
    JwtTextBuilder();

    void line(uint8_t lay, double x1, double y1, double x2, double y2, uint8_t lineType, uint8_t color);
    // A whole circle of flatness 1 ("CC").
    void circle(uint8_t lay, double x, double y, double r, uint8_t lineType, uint8_t color);
    // Any other arc or ellipse ("AC"); angles in degrees.
    void arc(uint8_t lay, double x, double y, double r, double flatness, double startAngle, double endAngle,
             double tilt, uint8_t lineType, uint8_t color);
    // `direction` is the base line's direction in radians; it is written in
    // degrees, as the arcs' angles are.
    void text(uint8_t lay, double x, double y, float direction, uint8_t mojiNo, std::string_view text);
    void point(uint8_t lay, double x, double y, uint8_t color);

    // Appends "END" and hands the text over.
    std::string finish();

private:
    void field(double value, int decimals);
    void field(int value);
    void endLine();

    std::string text_;
};

// The JWT text of a JWC drawing, every coordinate times `factor`.
std::string JwcToJwt(const TJwcFile& drawing, float factor);

}  // namespace tavo
