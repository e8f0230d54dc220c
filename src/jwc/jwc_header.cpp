#include "jwc/jwc_header.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "base/comma_text.h"
#include "base/number_text.h"
#include "base/path_text.h"
#include "jwc/jwc_file.h"

namespace tavo {

namespace {

constexpr char kTitle[] = "jw_cad(c)data.......a...m...............";
static_assert(sizeof kTitle - 1 == 40 && kTitle[22] == '.');

constexpr std::string_view kLine2 =
    "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,"
    "200.000,300.000,500.000,0,0,1\r";
static_assert(kLine2.size() == 113);

constexpr int kCommentOffset[2] = {40, 72};
constexpr std::size_t kCommentBytes = 32;

// Text, then a NUL; the rest of the block keeps its bytes but the last is 0.
void putLine(char (&block)[200], const std::string& text) {
    const std::size_t n = text.size() < 199 ? text.size() : 198;
    std::copy_n(text.begin(), n, std::begin(block));
    block[n] = '\0';
    block[199] = '\0';
}

// At most 32 bytes, followed by a NUL when shorter; the rest keeps its bytes.
void putComment(uint8_t (&title)[200], int offset, const std::string& comment) {
    const std::size_t n = comment.size() < kCommentBytes ? comment.size() : kCommentBytes;
    uint8_t* const first = &title[offset];
    std::copy_n(comment.begin(), n, first);
    if (n < kCommentBytes) first[n] = 0;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): n < 32
}

std::vector<std::string> lineFields(const char (&block)[200]) {
    return splitCommaText(std::string_view(&block[0], sizeof block));
}

int32_t field(const std::vector<std::string>& fields, std::size_t i, int32_t fallback) {
    return i < fields.size() ? parseInt32Or(fields[i], fallback) : fallback;
}

// Positions 1-4 and 6-9 of a segment:offset field, each read as hexadecimal.
bool parseAddress(const std::string& text, int64_t& value) {
    const auto hex = [&](std::size_t from, int64_t& out) {
        if (text.size() <= from) return false;
        const std::optional<int32_t> v = parseInt32("$" + text.substr(from, 4));
        out = v.value_or(0);
        return v.has_value();
    };
    int64_t high = 0;
    int64_t low = 0;
    if (!hex(0, high) || !hex(5, low)) return false;
    value = high * 65536 + low;
    return true;
}

}  // namespace

void RebuildHeaders(TJwcFile& d) {
    JwcHead& h = d.head;
    std::copy_n(std::begin(kTitle), 40, std::begin(h.TitleBlock));
    putComment(h.TitleBlock, kCommentOffset[0], d.comment1);
    putComment(h.TitleBlock, kCommentOffset[1], d.comment2);
    std::fill(&h.TitleBlock[104], &h.TitleBlock[199], ' ');
    h.TitleBlock[199] = 0;

    std::array<char, 200> line{};
    std::snprintf(line.data(), line.size(),
                  "%d,%d,%d,%d,0,3,2,1,1,%d,0,%d,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0",
                  d.senCount(), d.enkoCount(), d.mojiCount(), d.tenCount(), d.scale, d.paperSize);
    putLine(h.Line1, line.data());
    putLine(h.Line2, std::string(kLine2));

    const uint32_t end = 0x5F6D0000u + static_cast<uint32_t>(d.textAreaLength);
    std::snprintf(line.data(), line.size(),
                  "5F6D:0000,%.4X:%.4X,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0",
                  static_cast<unsigned>(end >> 16), static_cast<unsigned>(end & 0xFFFF));
    putLine(h.Line3, line.data());
}

HeaderLine1 ParseHeaderLine1(const JwcHead& head) {
    const std::vector<std::string> f = lineFields(head.Line1);
    HeaderLine1 out{};
    for (int i = 0; i < 4; ++i) out.counts[i] = field(f, static_cast<std::size_t>(i), 0);
    out.scale = field(f, 9, 1);
    out.paperSize = field(f, 11, 1);
    out.unitsPerSheet = field(f, 30, 518);
    if (out.unitsPerSheet <= 0) out.unitsPerSheet = 518;  // would divide by zero or flip the drawing
    return out;
}

bool ParseTextAreaLength(const JwcHead& head, int64_t& length, std::string& why) {
    const std::vector<std::string> f = lineFields(head.Line3);
    if (f.size() < 2) {
        why = "header line 3 has fewer than two fields";
        return false;
    }
    int64_t start = 0;
    int64_t end = 0;
    if (!parseAddress(f[0], start) || !parseAddress(f[1], end)) {
        why = "header line 3 does not hold two segment:offset addresses (\"" + f[0] + "," + f[1] + "\")";
        return false;
    }
    length = end - start;
    return true;
}

std::string ReadComment(const JwcHead& head, int which) {
    const std::string_view field(reinterpret_cast<const char*>(&head.TitleBlock[kCommentOffset[which]]), kCommentBytes);
    return trimBlanks(field.substr(0, field.find('\0')));
}

}  // namespace tavo
