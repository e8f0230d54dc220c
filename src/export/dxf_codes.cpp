#include "export/dxf_codes.h"

#include <array>
#include <charconv>
#include <cmath>

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/sjis_char.h"

namespace tavo {

namespace {

// to_chars fills a buffer between two pointers; the text goes on `out`.
// NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic)
template <class... Args>
void appendChars(std::string& out, Args... args) {
    std::array<char, 400> buffer;  // the longest fixed form of a double takes some 330
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), args...);
    out.append(buffer.data(), static_cast<std::size_t>(r.ptr - buffer.data()));
}
// NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic)

}  // namespace

DxfCodes::DxfCodes(ByteSink& sink, const DxfUtf8Encoder* toUtf8) : sink_(sink), toUtf8_(toUtf8) {
    buffer_.reserve(kFlushAt + 4096);
}

void DxfCodes::codeLine(int code) {
    if (code < 100) buffer_.append(code < 10 ? 2 : 1, ' ');
    appendChars(buffer_, code);
    buffer_ += "\r\n";
}

// Characters repeat across a drawing's texts: each is converted once.
const std::string& DxfCodes::utf8Of(std::string_view character) {
    uint16_t key = static_cast<unsigned char>(character[0]);
    if (character.size() == 2) key = static_cast<uint16_t>(key << 8 | static_cast<unsigned char>(character[1]));
    auto it = utf8Known_.find(key);
    if (it == utf8Known_.end()) it = utf8Known_.emplace(key, (*toUtf8_)(character)).first;
    return it->second;
}

void DxfCodes::text(int code, std::string_view value) {
    codeLine(code);
    if (!toUtf8_) {
        buffer_.append(value);
    } else {
        for (std::size_t i = 0; i < value.size();) {
            const auto byte = static_cast<unsigned char>(value[i]);
            if (byte < 0x80) {
                buffer_ += value[i++];
                continue;
            }
            const std::size_t n = IsSjisLeadByte(byte) && i + 1 < value.size() ? 2 : 1;
            buffer_ += utf8Of(value.substr(i, n));
            i += n;
        }
    }
    end();
}

void DxfCodes::word(int code, std::string_view value) {
    codeLine(code);
    buffer_.append(value);
    end();
}

void DxfCodes::integer(int code, int64_t value) {
    codeLine(code);
    appendChars(buffer_, value);
    end();
}

void DxfCodes::real(int code, double value) {
    // The entities are checked before; this keeps any other value from
    // making a file no program can read.
    if (!std::isfinite(value)) throw Error("a value under group code " + std::to_string(code) + " is not a finite number");
    codeLine(code);
    const std::size_t from = buffer_.size();
    appendChars(buffer_, value + 0.0, std::chars_format::fixed);  // + 0.0: no "-0"
    if (buffer_.find('.', from) == std::string::npos) buffer_ += ".0";
    end();
}

void DxfCodes::point(int code, WorldPoint p) {
    real(code, p.X);
    real(code + 10, p.Y);
    codeLine(code + 20);
    buffer_ += "0.0";
    end();
}

void DxfCodes::point2(int code, WorldPoint p) {
    real(code, p.X);
    real(code + 10, p.Y);
}

void DxfCodes::handle(int code, uint64_t value) {
    codeLine(code);
    const std::size_t from = buffer_.size();
    appendChars(buffer_, value, 16);
    for (std::size_t i = from; i < buffer_.size(); ++i) buffer_[i] = AsciiUpper(buffer_[i]);
    end();
}

void DxfCodes::flush() {
    sink_.write(buffer_);
    buffer_.clear();
}

}  // namespace tavo
