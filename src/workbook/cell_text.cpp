#include "workbook/cell_text.h"

#include <cmath>

#include "base/sjis_char.h"
#include "platform/encoding.h"
#include "workbook/number_format.h"

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
                 const platform::Utf8ToCp932Converter& toCp932) {
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

}  // namespace

std::vector<std::string> CellTextLines(const SheetModel& model, const Cell& cell, bool exchangeCaret,
                                       const platform::Utf8ToCp932Converter& toCp932) {
    const CellFormat& f = cell.format < model.formats.size() ? model.formats[cell.format] : model.formats[0];
    RichText shown;
    const RichText* text = nullptr;
    if (cell.text != kNoText && cell.text < model.texts.size()) {
        text = &model.texts[cell.text];
    } else if (cell.kind == CellKind::Number) {
        const std::string& code =
            f.numberFormat < model.numberFormats.size() ? model.numberFormats[f.numberFormat] : std::string();
        shown.text = FormatNumber(cell.number, code, model.dateOrigin);
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
