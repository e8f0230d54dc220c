#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/byte_sink.h"
#include "base/geometry.h"

namespace tavo {

// Shift-JIS to UTF-8, one text at a time; a byte sequence that is no
// character may become "?".
using DxfUtf8Encoder = std::function<std::string(std::string_view)>;

// Writes DXF's group-code/value pairs, each on its own line ending in CR LF,
// the code right-aligned in three places as AutoCAD writes it. Collects
// them and hands them to the sink in large pieces.
class DxfCodes {
public:
    // With an encoder, texts are turned into UTF-8 on their way out.
    DxfCodes(ByteSink& sink, const DxfUtf8Encoder* toUtf8);
    ~DxfCodes() = default;
    DxfCodes(const DxfCodes&) = delete;
    DxfCodes& operator=(const DxfCodes&) = delete;

    // A text of the drawing (Shift-JIS).
    void text(int code, std::string_view value);
    // A word of the format itself, ASCII.
    void word(int code, std::string_view value);
    void integer(int code, int64_t value);
    // The shortest decimal that reads back as the same double, never in
    // exponent form, always with a decimal point.
    void real(int code, double value);
    // x, y and 0 for z under codes `code`, `code` + 10, `code` + 20.
    void point(int code, WorldPoint p);
    // x and y only, for the vertices of polylines and hatch boundaries.
    void point2(int code, WorldPoint p);
    // A handle in upper-case hexadecimal.
    void handle(int code, uint64_t value);

    void flush();

private:
    void codeLine(int code);
    void end() {
        buffer_ += "\r\n";
        if (buffer_.size() >= kFlushAt) flush();
    }
    const std::string& utf8Of(std::string_view character);

    static constexpr std::size_t kFlushAt = 1 << 16;
    ByteSink& sink_;
    const DxfUtf8Encoder* toUtf8_;
    std::string buffer_;
    std::unordered_map<uint16_t, std::string> utf8Known_;  // by the character's Shift-JIS bytes
};

}  // namespace tavo
