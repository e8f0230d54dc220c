#include "jwc/jwc_header.h"

#include <cstdio>
#include <cstring>
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

constexpr char kLine2[] =
    "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,"
    "200.000,300.000,500.000,0,0,1\r";
static_assert(sizeof kLine2 - 1 == 113);

constexpr int kCommentOffset[2] = {40, 72};
constexpr std::size_t kCommentBytes = 32;

// Text, then a NUL; the rest of the block keeps its bytes but the last is 0.
void putLine(char (&block)[200], const std::string& text) {
    const std::size_t n = text.size() < 199 ? text.size() : 198;
    std::memcpy(block, text.data(), n);
    block[n] = '\0';
    block[199] = '\0';
}

void putComment(uint8_t* block, const std::string& comment) {
    const std::size_t n = comment.size() < kCommentBytes ? comment.size() : kCommentBytes;
    std::memcpy(block, comment.data(), n);
    if (n < kCommentBytes) block[n] = 0;
}

std::vector<std::string> lineFields(const char (&block)[200]) {
    return splitCommaText(std::string_view(block, sizeof block));
}

int32_t field(const std::vector<std::string>& fields, std::size_t i, int32_t fallback) {
    return i < fields.size() ? parseInt32Or(fields[i], fallback) : fallback;
}

// Positions 1-4 and 6-9 of a segment:offset field, each read as hexadecimal.
bool parseAddress(const std::string& text, int64_t& value) {
    const auto hex = [&](std::size_t from, int64_t& out) {
        if (text.size() <= from) return false;
        const std::string digits = text.substr(from, 4);
        out = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return false;
            out = out * 16 + d;
        }
        return true;
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
    std::memcpy(h.TitleBlock, kTitle, 40);
    putComment(h.TitleBlock + kCommentOffset[0], d.comment1);
    putComment(h.TitleBlock + kCommentOffset[1], d.comment2);
    std::memset(h.TitleBlock + 104, ' ', 95);
    h.TitleBlock[199] = 0;

    char line[200];
    std::snprintf(line, sizeof line,
                  "%d,%d,%d,%d,0,3,2,1,1,%d,0,%d,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0",
                  d.senCount(), d.enkoCount(), d.mojiCount(), d.tenCount(), d.scale, d.paperSize);
    putLine(h.Line1, line);
    putLine(h.Line2, kLine2);

    const uint32_t end = 0x5F6D0000u + static_cast<uint32_t>(d.textAreaLength);
    std::snprintf(line, sizeof line,
                  "5F6D:0000,%.4X:%.4X,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0",
                  static_cast<unsigned>(end >> 16), static_cast<unsigned>(end & 0xFFFF));
    putLine(h.Line3, line);
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
    const char* p = reinterpret_cast<const char*>(head.TitleBlock) + kCommentOffset[which];
    const void* nul = std::memchr(p, '\0', kCommentBytes);
    const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p) : kCommentBytes;
    return trimBlanks(std::string_view(p, n));
}

}  // namespace tavo
