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
    "200.000,300.000,500.000,0,0,1";
static_assert(kLine2.size() == 112);

// Header line 1 as a save writes it: the fields the drawing fills are null.
constexpr std::size_t kLine1Fields = 32;
constexpr const char* kLine1Fixed[kLine1Fields] = {
    nullptr, nullptr, nullptr, nullptr, nullptr,  // counts of lines, arcs, texts, points, temporary points
    "3", "2", "1", "1",
    nullptr,  // scale
    "0",
    nullptr,  // paper-size index
    "1", "1", "5.0", "5.0", "5", "10", "0", "0", "0", "0", "1", "2", "3", "9", "9", "0", "0", "0",
    "518", "0"};

constexpr int kCommentOffset[2] = {40, 72};
constexpr std::size_t kCommentBytes = 32;

// Text, then a NUL; the rest of the block keeps its bytes but the last
// ends the block.
void putLine(char (&block)[200], std::string_view text) {
    const std::size_t n = text.size() < 199 ? text.size() : 198;
    std::copy_n(text.begin(), n, std::begin(block));
    block[n] = '\0';
    block[199] = kHeaderBlockEnd;
}

// The fields of header line 1 that come from the drawing.
int32_t line1Value(const TJwcFile& d, std::size_t field) {
    switch (field) {
        case 0: return d.senCount();
        case 1: return d.enkoCount();
        case 2: return d.mojiCount();
        case 3: return d.tenCount();
        case 4: return std::clamp(d.temporaryPoints, 0, d.tenCount());  // some of the points, never more
        case 9: return d.scale;
        default: return d.paperSize;
    }
}

std::string line1Text(const TJwcFile& d) {
    std::string line;
    for (std::size_t i = 0; i < kLine1Fields; ++i) {
        if (i > 0) line += ',';
        line += kLine1Fixed[i] ? std::string(kLine1Fixed[i]) : std::to_string(line1Value(d, i));
    }
    return line;
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
    h.TitleBlock[199] = kHeaderBlockEnd;

    putLine(h.Line1, line1Text(d));
    putLine(h.Line2, kLine2);

    const uint32_t end = kTextPoolStart + static_cast<uint32_t>(d.textAreaLength);
    std::array<char, 200> line{};
    std::snprintf(line.data(), line.size(),
                  "%.4X:%.4X,%.4X:%.4X,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0",
                  static_cast<unsigned>(kTextPoolStart >> 16), static_cast<unsigned>(kTextPoolStart & 0xFFFF),
                  static_cast<unsigned>(end >> 16), static_cast<unsigned>(end & 0xFFFF));
    putLine(h.Line3, line.data());
}

HeaderLine1 ParseHeaderLine1(const JwcHead& head) {
    const std::vector<std::string> f = lineFields(head.Line1);
    HeaderLine1 out{};
    for (int i = 0; i < 4; ++i) out.counts[i] = field(f, static_cast<std::size_t>(i), 0);
    out.temporaryPoints = field(f, 4, 0);
    out.fieldCount = static_cast<int32_t>(f.size());
    out.scale = field(f, 9, 1);
    out.paperSize = field(f, 11, 1);
    out.unitsPerSheet = field(f, 30, 518);
    if (out.unitsPerSheet <= 0) out.unitsPerSheet = 518;  // would divide by zero or flip the drawing
    return out;
}

bool ParseTextPool(const JwcHead& head, TextPool& pool, std::string& why) {
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
    pool.start = start;
    pool.length = end - start;
    return true;
}

std::string ReadComment(const JwcHead& head, int which) {
    const std::string_view field(reinterpret_cast<const char*>(&head.TitleBlock[kCommentOffset[which]]), kCommentBytes);
    return trimBlanks(field.substr(0, field.find('\0')));
}

std::vector<int> Line1FieldsRewrittenOnSave(const JwcHead& head) {
    const std::vector<std::string> f = lineFields(head.Line1);
    std::vector<int> rewritten;
    for (std::size_t i = 0; i < f.size(); ++i) {
        // Fields past the last one written are dropped.
        if (i >= kLine1Fields || (kLine1Fixed[i] && f[i] != kLine1Fixed[i])) rewritten.push_back(static_cast<int>(i));
    }
    return rewritten;
}

bool Line2RewrittenOnSave(const JwcHead& head) {
    const std::string_view block(&head.Line2[0], sizeof head.Line2);
    // Files written here before carried a CR after the text.
    return trimBlanks(block.substr(0, block.find('\0'))) != kLine2;
}

}  // namespace tavo
