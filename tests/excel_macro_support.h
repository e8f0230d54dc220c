#pragma once

// Running the spreadsheet macros (host/excel) under headless LibreOffice
// with the recording stand-in for the declarations (tests/excel/lo_basic.py),
// and reading what they did.
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tavo.h"
#include "test_support.h"
#include "workbook/recording_export_calls.h"

namespace tavo::test {

// One workbook the macros run in: the widths and heights its columns and
// rows take in Excel (points; LibreOffice lays them out by its own fonts),
// and the Basic procedures to call with their (text) arguments.
struct MacroJob {
    std::string name;
    std::string book;  // empty: a new workbook
    std::vector<std::pair<int, double>> columns, rows;
    std::string select;
    std::vector<std::pair<std::string, std::vector<std::string>>> calls;
    bool readSheet = false;
    bool realDeclarations = false;
};

struct MacroResult {
    std::vector<std::optional<std::string>> results;  // none: the Basic stopped or did not compile
    std::vector<double> seconds;
    std::vector<std::vector<std::string>> sheet;  // the active sheet's cells at the end
    std::string error;
};

// One line of a stand-in's log: a call and its arguments.
struct LoggedCall {
    std::string name;
    std::vector<std::string> args;
};

inline std::string JsonText(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", c);
            out += u;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Text in one encoding converted to another by iconv ("UTF-8", "UTF-16LE",
// "CP1252").
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
    const auto flush = [&] {
        out += Converted(units, "UTF-16LE", "UTF-8");
        units.clear();
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 5 < s.size() && s[i + 1] == 'u') {
            const auto unit = static_cast<unsigned>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
            units += static_cast<char>(unit & 0xFF);
            units += static_cast<char>(unit >> 8);
            i += 5;
        } else {
            flush();
            out += s[i];
        }
    }
    flush();
    return out;
}

// UTF-8 with \uXXXX for a backslash, a tab, a line break and every
// character beyond ASCII, as the stand-in's replies take texts.
inline std::string Escaped(const std::string& utf8) {
    const std::string units = Converted(utf8, "UTF-8", "UTF-16LE");
    std::string out;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(units[i]) | static_cast<unsigned char>(units[i + 1]) << 8;
        if (unit >= 0x20 && unit < 0x7F && unit != '\\') {
            out += static_cast<char>(unit);
        } else {
            char text[8];
            std::snprintf(text, sizeof text, "\\u%04X", unit);
            out += text;
        }
    }
    return out;
}

inline std::vector<std::string> Split(const std::string& s, char by) {
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == by) out.emplace_back();
        else out.back() += c;
    }
    return out;
}

inline std::vector<LoggedCall> ParseLog(const std::string& log) {
    std::vector<LoggedCall> calls;
    for (const std::string& line : Split(log, '\n')) {
        if (line.empty()) continue;
        std::vector<std::string> fields = Split(line, '\t');
        LoggedCall c{fields[0], {}};
        for (std::size_t i = 1; i < fields.size(); ++i) c.args.push_back(Unescaped(fields[i]));
        calls.push_back(std::move(c));
    }
    return calls;
}

// The names of the calls, in order, but TavoGetLastError (the macros ask
// after every call that may fail), Progress and TavoLoad.
inline std::vector<std::string> CallNames(const std::vector<LoggedCall>& calls) {
    std::vector<std::string> names;
    for (const LoggedCall& c : calls)
        if (c.name != "TavoGetLastError" && c.name != "Progress" && c.name != "TavoLoad") names.push_back(c.name);
    return names;
}

// The replies that hand a macro the settings record (ReadInifile), in the
// order of its fields, the paper lengths (DrawWidth) and the strings.
inline std::string SettingsReplies(const TavoSettings& s, const std::map<int, std::string>& strings) {
    std::ostringstream r;
    r << std::setprecision(9);
    const auto list = [&r](const auto* values, int n) {
        for (int i = 0; i < n; ++i) r << '\t' << +values[i];
    };
    r << "ReadInifile";
    list(s.PenNo, 10);
    list(s.MojiWidth, 10);
    list(s.MojiHeight, 10);
    list(s.MojiPitch, 10);
    r << "\t0\t0\t" << s.DimScale << '\t' << s.JwcScale << '\t' << s.PlotSize << '\t' << +s.SenLay << '\t' << +s.SenColor
      << "\t0\t0\t" << s.DoubleSenPitch << '\t' << +s.MojiLay << '\t' << +s.SimbolLay << '\t' << +s.SimbolColor << '\t'
      << +s.ExportTarget << '\t' << +s.PlotOffset << "\t0\t" << s.IsSameScale;
    list(s.GroupScale, 16);
    list(s.BColorIndex, 56);
    list(s.BTypeIndex, 13);
    r << "\t0\t" << s.ExchangeCaret << '\t' << s.ExchangeSolid << '\n';
    for (int16_t paper = 0; paper <= 4; ++paper) r << "DrawWidth:" << paper << '\t' << DrawWidth(paper) << '\n';
    for (const auto& [slot, text] : strings) r << "ReadIniString:" << slot << '\t' << Escaped(text) << '\n';
    return r.str();
}

// Runs the jobs in one LibreOffice; a job's procedures run in the order
// given, in its workbook with the macro modules of host/excel joined to the
// stand-in.
inline std::map<std::string, MacroResult> RunMacros(const std::vector<MacroJob>& jobs, const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    const fs::path source = TAVO_SOURCE_DIR;
    std::ostringstream spec;
    spec << "{\"profile\": " << JsonText((dir / "profile").string())
         << ", \"declarations\": " << JsonText((source / "host/excel/Tavo.bas").string()) << ", \"modules\": [";
    const char* modules[] = {"TavoHost", "TavoJwc", "TavoRules", "TavoSheet", "TavoCells", "TavoShapes"};
    for (const char* m : modules) spec << JsonText((source / "host/excel" / (std::string(m) + ".bas")).string()) << ", ";
    spec << JsonText((source / "tests/excel/RuleProbe.bas").string()) << "], \"classes\": ["
         << JsonText((source / "tests/excel/StandInBorders.cls").string()) << ", "
         << JsonText((source / "tests/excel/StandInBorder.cls").string()) << "], \"jobs\": [";
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const MacroJob& job = jobs[j];
        spec << (j ? ", " : "") << "{\"name\": " << JsonText(job.name) << ", \"book\": "
             << (job.book.empty() ? std::string("null") : JsonText(job.book)) << ", \"select\": "
             << (job.select.empty() ? std::string("null") : JsonText(job.select))
             << ", \"read_sheet\": " << (job.readSheet ? "true" : "false")
             << ", \"real_declarations\": " << (job.realDeclarations ? "true" : "false");
        for (const auto* sizes : {&job.columns, &job.rows}) {
            spec << (sizes == &job.columns ? ", \"columns\": [" : ", \"rows\": [");
            for (std::size_t i = 0; i < sizes->size(); ++i)
                spec << (i ? ", " : "") << "[" << (*sizes)[i].first << ", " << (*sizes)[i].second << "]";
            spec << "]";
        }
        spec << ", \"calls\": [";
        for (std::size_t i = 0; i < job.calls.size(); ++i) {
            spec << (i ? ", " : "") << "[" << JsonText(job.calls[i].first) << ", [";
            for (std::size_t a = 0; a < job.calls[i].second.size(); ++a)
                spec << (a ? ", " : "") << JsonText(job.calls[i].second[a]);
            spec << "]]";
        }
        spec << "]}";
    }
    spec << "]}";
    writeFile((dir / "jobs.json").string(), spec.str());
    const fs::path results = dir / "results";
    const std::string command = "/usr/bin/python3 '" + (source / "tests/excel/lo_basic.py").string() + "' '" +
                                (dir / "jobs.json").string() + "' '" + results.string() + "' > '" +
                                (dir / "lo_basic.log").string() + "' 2>&1";
    std::map<std::string, MacroResult> out;
    if (std::system(command.c_str()) != 0) {
        for (const MacroJob& job : jobs) out[job.name].error = "lo_basic.py failed: " + readFile((dir / "lo_basic.log").string());
        return out;
    }
    for (const MacroJob& job : jobs) {
        MacroResult& r = out[job.name];
        const fs::path base = results / job.name;
        if (fs::exists(base.string() + ".error")) r.error = readFile(base.string() + ".error");
        for (std::size_t i = 0; i < job.calls.size(); ++i) {
            const std::string path = base.string() + "." + std::to_string(i);
            r.results.push_back(fs::exists(path) ? std::optional<std::string>(readFile(path)) : std::nullopt);
        }
        if (fs::exists(base.string() + ".seconds"))
            for (const std::string& t : Split(readFile(base.string() + ".seconds"), '\n'))
                if (!t.empty()) r.seconds.push_back(std::stod(t));
        if (fs::exists(base.string() + ".sheet"))
            for (const std::string& line : Split(readFile(base.string() + ".sheet"), '\n'))
                if (!line.empty()) {
                    std::vector<std::string> cells;
                    for (const std::string& cell : Split(line, '\t')) cells.push_back(Unescaped(cell));
                    r.sheet.push_back(cells);
                }
    }
    return out;
}

}  // namespace tavo::test
