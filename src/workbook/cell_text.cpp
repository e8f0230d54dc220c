#include "workbook/cell_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "base/ascii_case.h"
#include "base/sjis_char.h"
#include "platform/encoding.h"
#include "base/jw_text.h"
#include "workbook/sheet_number_format.h"
#include "workbook/workbook_package.h"

namespace tavo::workbook {

namespace {

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// "^u" or "^d" before every character of a Shift-JIS text.
std::string WithCarets(const std::string& cp932, Script script) {
    const char* mark = script == Script::Super ? "^u" : "^d";
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t n = IsSjisLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
        out += mark;
        out.append(cp932, i, n);
        i += n;
    }
    return out;
}

// Appends a piece of one script to the lines, starting a new line at each
// line break.
void AppendPiece(std::vector<std::string>& lines, std::string_view utf8, Script script,
                 SheetTextConverter& toCp932) {
    std::size_t start = 0;
    while (true) {
        const std::size_t br = utf8.find('\n', start);
        std::string_view part = utf8.substr(start, br == std::string_view::npos ? std::string_view::npos : br - start);
        if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
        const std::string cp = IsAscii(part) ? std::string(part) : toCp932(part);
        lines.back() += script == Script::None ? cp : WithCarets(cp, script);
        if (br == std::string_view::npos) break;
        lines.emplace_back();
        start = br + 1;
    }
}

std::string BooleanText(double v) { return v != 0 ? "TRUE" : "FALSE"; }

// Width of a shown number in points, as the spreadsheet's fonts draw it:
// digits about 0.48 of the font's size (7 pixels at 11 points), stops and
// commas half of that, signs and brackets a little more, wide characters
// twice; a cell keeps a little room at its edges.
constexpr double kDigitEm = 7.0 / 11 * 0.75;

// Digit widths of one character: stops, commas and the thinnest letters
// half, signs, brackets and thin letters a little more, wide characters two.
double CharDigits(unsigned char c, bool wide) {
    if (wide) return 2;
    if (c == '.' || c == ',' || c == ':' || c == ';' || c == '\'' || c == ' ' || c == 'i' || c == 'l' || c == 'j' ||
        c == 'I' || c == '!' || c == '|')
        return 0.5;
    if (c == '-' || c == '(' || c == ')' || c == '/' || c == 't' || c == 'f' || c == 'r') return 0.6;
    return 1;
}

double ShownDigits(std::string_view shown) {
    double digits = 0;
    for (std::size_t i = 0; i < shown.size();) {
        const auto c = static_cast<unsigned char>(shown[i]);
        const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        digits += CharDigits(c, n >= 3);
        i += n;
    }
    return digits;
}

bool NumberFits(std::string_view shown, double fontPoints, double widthPoints) {
    return ShownDigits(shown) * kDigitEm * fontPoints <= widthPoints - kCellPaddingPoints;
}

// What a number shows in a cell of the given width: in the general format
// fewer decimals until it fits, else "#" across the cell.
std::string FittedNumber(double value, const std::string& code, int32_t dateOrigin, double fontPoints,
                         double widthPoints) {
    std::string shown = FormatNumber(value, code, dateOrigin);
    if (widthPoints <= 0 || NumberFits(shown, fontPoints, widthPoints)) return shown;
    const bool general = code.empty() || EqualsIgnoringAsciiCase(code, "General");
    if (general) {
        // Fewer decimals first, then the exponent form, as few digits as fit.
        const auto fits = [&](const char* form, int digits, std::string& out) {
            std::array<char, 64> b{};
            std::snprintf(b.data(), b.size(), form, digits, value);
            out = b.data();
            const std::size_t e = out.find('E');
            const std::size_t point = out.find('.');
            if (point != std::string::npos) {  // no trailing zeros in the digits
                std::size_t end = e == std::string::npos ? out.size() : e;
                std::size_t keep = end;
                while (keep > point + 1 && out[keep - 1] == '0') --keep;
                if (keep == point + 1) --keep;
                out.erase(keep, end - keep);
            }
            return NumberFits(out, fontPoints, widthPoints);
        };
        std::string out;
        if (shown.find('.') != std::string::npos && shown.find('E') == std::string::npos)
            for (int decimals = static_cast<int>(shown.size() - shown.find('.') - 2); decimals >= 0; --decimals)
                if (fits("%.*f", decimals, out)) return out;
        for (int digits = 5; digits >= 0; --digits)
            if (fits("%.*E", digits, out)) return out;
    }
    const double hashes = std::floor((widthPoints - kCellPaddingPoints) / (kDigitEm * fontPoints));
    return std::string(static_cast<std::size_t>(std::clamp(hashes, 1.0, 255.0)), '#');
}

const std::string& NumberCode(const SheetModel& model, const CellFormat& f) {
    static const std::string general;
    return f.numberFormat < model.numberFormats.size() ? model.numberFormats[f.numberFormat] : general;
}

// "U+20BB7", after the character itself in quotes when `shown`.
std::string CodePoint(char32_t c, bool shown) {
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "U+%04X", static_cast<unsigned>(c));
    if (!shown) return hex.data();
    std::string utf8;
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    return "\"" + utf8 + "\" (" + hex.data() + ")";
}

}  // namespace

double SheetTextPoints(std::string_view cp932, double fontPoints) {
    double digits = 0;
    for (std::size_t i = 0; i < cp932.size();) {
        if (cp932[i] == '^' && i + 1 < cp932.size() && (cp932[i + 1] == 'u' || cp932[i + 1] == 'd')) {
            i += 2;  // a raised or lowered mark takes no room
            continue;
        }
        const std::size_t n = CharBytesAt(cp932, i);
        digits += CharDigits(static_cast<unsigned char>(cp932[i]), n == 2);
        i += n;
    }
    return digits * kDigitEm * fontPoints;
}

std::string CutToSheetWidth(const std::string& cp932, double fontPoints, double widthPoints, HAlign align) {
    std::vector<std::size_t> starts;  // byte offset of each character, a mark with the character it raises
    for (std::size_t i = 0; i < cp932.size();) {
        starts.push_back(i);
        if (cp932[i] == '^' && i + 2 < cp932.size() && (cp932[i + 1] == 'u' || cp932[i + 1] == 'd')) i += 2;
        i += CharBytesAt(cp932, i);
    }
    const auto piece = [&](std::size_t from, std::size_t to) {
        const std::size_t end = to < starts.size() ? starts[to] : cp932.size();
        return std::string_view(cp932).substr(starts[from], end - starts[from]);
    };
    std::size_t from = 0, to = starts.size();
    while (to - from > 1 && SheetTextPoints(piece(from, to), fontPoints) > widthPoints) {
        if (align == HAlign::Right || (align == HAlign::Center && (to - from) % 2 == 0)) ++from;
        else --to;
    }
    return starts.empty() ? cp932 : std::string(piece(from, to));
}

SheetTextConverter::SheetTextConverter(std::string fileName, std::string sheetName, bool strict)
    : fileName_(std::move(fileName)), sheetName_(std::move(sheetName)), strict_(strict) {}

std::string SheetTextConverter::operator()(std::string_view utf8) {
    std::u32string unmapped;
    std::string cp = converter_(utf8, unmapped);
    for (char32_t c : unmapped) {
        // The library's messages are Shift-JIS, which cannot show the character: its code point does.
        if (strict_)
            FailWorkbook(fileName_, "sheet \"" + sheetName_ + "\": " + place_ + ": the character " + CodePoint(c, false) +
                                        " has no Shift-JIS form");
        warnings_.push_back(place_ + ": " + CodePoint(c, true) + " has no Shift-JIS form; drawn as \"?\"");
    }
    return cp;
}

std::string CellName(int32_t row, int32_t col) {
    std::string letters;
    for (int32_t c = col + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

std::vector<std::string> CellTextLines(const SheetModel& model, const Cell& cell, bool exchangeCaret,
                                       double widthPoints, SheetTextConverter& toCp932) {
    const CellFormat& f = cell.format < model.formats.size() ? model.formats[cell.format] : model.formats[0];
    RichText shown;
    const RichText* text = nullptr;
    const bool hasText = cell.text != kNoText && cell.text < model.texts.size();
    if (cell.kind == CellKind::Number && hasText) {  // the text the file shows for it
        shown.text = model.texts[cell.text].text;
        if (widthPoints > 0 && !NumberFits(shown.text, f.fontPoints, widthPoints))
            shown.text = FittedNumber(cell.number, NumberCode(model, f), model.dateOrigin, f.fontPoints, widthPoints);
        text = &shown;
    } else if (hasText) {
        text = &model.texts[cell.text];
    } else if (cell.kind == CellKind::Number) {
        shown.text = FittedNumber(cell.number, NumberCode(model, f), model.dateOrigin, f.fontPoints, widthPoints);
        text = &shown;
    } else if (cell.kind == CellKind::Boolean) {
        shown.text = BooleanText(cell.number);
        text = &shown;
    }
    if (!text || text->text.find_first_not_of(" \t\r\n") == std::string::npos) return {};

    std::vector<std::string> lines(1);
    const Script whole = exchangeCaret ? f.script : Script::None;
    std::string_view all(text->text);
    std::size_t at = 0;
    if (exchangeCaret) {
        for (const ScriptRun& run : text->runs) {
            if (run.begin < at || run.end > all.size() || run.begin >= run.end) continue;
            AppendPiece(lines, all.substr(at, run.begin - at), whole, toCp932);
            AppendPiece(lines, all.substr(run.begin, run.end - run.begin), run.script, toCp932);
            at = run.end;
        }
    }
    AppendPiece(lines, all.substr(at), whole, toCp932);
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
    return lines;
}

uint8_t TextSizeFor(double fontPoints, double mmPerPoint, const TavoSettings& settings) {
    const double wanted = fontPoints * mmPerPoint;
    uint8_t best = 1;
    double bestDistance = -1;
    for (uint8_t n = 1; n <= 10; ++n) {
        const double d = std::fabs(settings.MojiHeight[n - 1] / 10.0 - wanted);
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = n;
        }
    }
    return best;
}

}  // namespace tavo::workbook
