#pragma once

// Running the spreadsheet macros (host/excel) under headless LibreOffice
// with the recording stand-in for the declarations (tests/excel/lo_basic.py),
// and reading what they did.
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tavo.h"
#include "test_support.h"

namespace tavo::test {

// One workbook the macros run in: the widths and heights its columns and
// rows take in Excel (points; LibreOffice lays them out by its own fonts),
// and the Basic procedures to call with their (text) arguments.
struct MacroJob {
    std::string name, book;  // book empty: a new workbook
    std::vector<std::pair<int, double>> columns = {}, rows = {};
    std::vector<std::pair<std::string, std::vector<std::string>>> calls = {};
    bool readSheet = false, realDeclarations = false;
};

struct MacroResult {
    std::vector<std::optional<std::string>> results;  // none: the Basic stopped or did not compile
    std::vector<double> seconds;
    std::vector<std::vector<std::string>> sheet;  // the active sheet's cells at the end
    std::string error;
};

// Text in one encoding converted to another by iconv ("UTF-8", "UTF-16LE", "CP1252").
inline std::string Converted(const std::string& text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    std::string in = text, out(text.size() * 4 + 4, '\0');
    char *inp = in.data(), *outp = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// \uXXXX escapes (UTF-16 units) of a stand-in's log or a sheet, as UTF-8.
inline std::string Unescaped(const std::string& s) {
    std::string out, units;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i + 5 < s.size() && s[i] == '\\' && s[i + 1] == 'u') {
            const auto unit = static_cast<unsigned>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
            units += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            i += 5;
            continue;
        }
        out += Converted(units, "UTF-16LE", "UTF-8");
        units.clear();
        if (i < s.size()) out += s[i];
    }
    return out;
}

// UTF-8 with \uXXXX for a backslash, a control and every character beyond
// ASCII, as the stand-in's replies take texts.
inline std::string Escaped(const std::string& utf8) {
    const std::string units = Converted(utf8, "UTF-8", "UTF-16LE");
    std::string out;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(units[i]) | static_cast<unsigned char>(units[i + 1]) << 8;
        char text[8];
        std::snprintf(text, sizeof text, "\\u%04X", unit);
        out += unit >= 0x20 && unit < 0x7F && unit != '\\' ? std::string(1, static_cast<char>(unit)) : text;
    }
    return out;
}

inline std::vector<std::string> Split(const std::string& s, char by) {
    std::vector<std::string> out(1);
    for (char c : s) c == by ? out.emplace_back() : out.back() += c;
    return out;
}

// The non-empty lines of a stand-in's log or a sheet, each split at tabs, unescaped.
inline std::vector<std::vector<std::string>> Table(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(text, '\n'))
        if (!line.empty()) {
            rows.emplace_back();
            for (const std::string& field : Split(line, '\t')) rows.back().push_back(Unescaped(field));
        }
    return rows;
}

// The replies that hand a macro the settings record (ReadInifile), in the
// order of its fields, the paper lengths (DrawWidth) and the strings.
inline std::string SettingsReplies(const TavoSettings& s, const std::map<int, std::string>& strings) {
    std::ostringstream r;
    r << std::setprecision(9) << "ReadInifile";
    const auto list = [&r](const auto& values) { for (const auto v : values) r << '\t' << +v; };
    list(s.PenNo), list(s.MojiWidth), list(s.MojiHeight), list(s.MojiPitch);
    r << "\t0\t0\t" << s.DimScale << '\t' << s.JwcScale << '\t' << s.PlotSize << '\t' << +s.SenLay << '\t' << +s.SenColor
      << "\t0\t0\t" << s.DoubleSenPitch << '\t' << +s.MojiLay << '\t' << +s.SimbolLay << '\t' << +s.SimbolColor << '\t'
      << +s.ExportTarget << '\t' << +s.PlotOffset << "\t0\t" << s.IsSameScale;
    list(s.GroupScale), list(s.BColorIndex), list(s.BTypeIndex);
    r << "\t0\t" << s.ExchangeCaret << '\t' << s.ExchangeSolid << '\n';
    for (int16_t paper = 0; paper <= 4; ++paper) r << "DrawWidth:" << paper << '\t' << DrawWidth(paper) << '\n';
    for (const auto& [slot, text] : strings) r << "ReadIniString:" << slot << '\t' << Escaped(text) << '\n';
    return r.str();
}

inline std::string JsonText(const std::string& s) {
    std::string out = "\"";
    for (char c : Escaped(s)) out += c == '"' ? std::string("\\u0022") : std::string(1, c);
    return out + "\"";
}

template <class T, class F>
std::string JsonList(const std::vector<T>& items, F item) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + item(items[i]);
    return out + "]";
}

// Runs the jobs in one LibreOffice; a job's procedures run in the order
// given, in its workbook with the macro modules of host/excel joined to the
// stand-in.
inline std::map<std::string, MacroResult> RunMacros(const std::vector<MacroJob>& jobs, const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    const auto sizes = [](const std::pair<int, double>& p) { return "[" + std::to_string(p.first) + ", " + std::to_string(p.second) + "]"; };
    const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    const std::string spec = "{\"profile\": " + JsonText((dir / "profile").string()) + ", \"source\": " + JsonText(TAVO_SOURCE_DIR) +
        ", \"jobs\": " + JsonList(jobs, [&](const MacroJob& job) {
            return "{\"name\": " + JsonText(job.name) + ", \"book\": " + (job.book.empty() ? "null" : JsonText(job.book)) +
                   ", \"read_sheet\": " + flag(job.readSheet) + ", \"real_declarations\": " + flag(job.realDeclarations) +
                   ", \"columns\": " + JsonList(job.columns, sizes) + ", \"rows\": " + JsonList(job.rows, sizes) +
                   ", \"calls\": " + JsonList(job.calls, [](const auto& call) {
                       return "[" + JsonText(call.first) + ", " + JsonList(call.second, JsonText) + "]";
                   }) + "}";
        }) + "}";
    writeFile((dir / "jobs.json").string(), spec);
    const fs::path results = dir / "results", log = dir / "lo_basic.log";
    const std::string command = "/usr/bin/python3 '" + std::string(TAVO_SOURCE_DIR) + "/tests/excel/lo_basic.py' '" +
                                (dir / "jobs.json").string() + "' '" + results.string() + "' > '" + log.string() + "' 2>&1";
    std::map<std::string, MacroResult> out;
    const bool ran = std::system(command.c_str()) == 0;
    for (const MacroJob& job : jobs) {
        MacroResult& r = out[job.name];
        const auto file = [base = (results / job.name).string()](const std::string& suffix) {
            return fs::exists(base + suffix) ? std::optional<std::string>(readFile(base + suffix)) : std::nullopt;
        };
        r.error = ran ? file(".error").value_or("") : "lo_basic.py failed: " + readFile(log.string());
        for (std::size_t i = 0; i < job.calls.size(); ++i) r.results.push_back(file("." + std::to_string(i)));
        for (const std::string& t : Split(file(".seconds").value_or(""), '\n'))
            if (!t.empty()) r.seconds.push_back(std::stod(t));
        r.sheet = Table(file(".sheet").value_or(""));
    }
    return out;
}

}  // namespace tavo::test
