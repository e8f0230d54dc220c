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
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/encoding.h"
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
    std::vector<std::pair<int, double>> columns = {}, rows = {};
    std::string select = {};
    std::vector<std::pair<std::string, std::vector<std::string>>> calls = {};
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

// The library's answers and the replay of a build, for the dump and build
// tests.
// A drawing file to dump: the bundled export of examples/form.xlsx, and
// every entity kind (examples/entities.csv built with `tavo build --mm`).
struct DrawingFile {
    std::string name, path;
};

inline std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
        if (pclose(p) != 0) throw std::runtime_error(command + " failed");
    }
    return out;
}

// A .jwc comment (UTF-8 here) as LibreOffice's StrConv reads its bytes.
inline std::string CommentAsLibreOfficeReadsIt(const std::string& utf8) {
    return tavo::test::Converted(tavo::platform::Utf8ToCp932(utf8), "CP1252", "UTF-8");
}

inline std::string Signed16(uint16_t v) { return std::to_string(static_cast<int16_t>(v)); }

// The replies the library gives a dump of the file: what its exports hand
// out after JwcLoadFrom, in the order the dump macro asks.
inline std::string DumpReplies(const std::string& path) {
    std::ostringstream r;
    r << std::setprecision(9) << "ReadIniDump\t-1\t-1\t-1\t-1\nReadIniString:5\t" << tavo::test::Escaped(path) << '\n';
    JwcCreate(3, 100);
    const char* name = path.c_str();
    JwcLoadFrom(&name);
    const int32_t counts[4] = {GetSenCount(), GetEnkoCount(), GetMojiCount(), GetTenCount()};
    r << "GetSenCount\t" << counts[0] << "\nGetEnkoCount\t" << counts[1] << "\nGetMojiCount\t" << counts[2]
      << "\nGetTenCount\t" << counts[3] << '\n';
    for (int16_t row = 0; row <= 10; ++row) {
        TavoMojiTableRow t;
        GetTable(&t, row);
        r << "GetTable\t" << Signed16(t.PenNo) << '\t' << Signed16(t.Width) << '\t' << Signed16(t.Height) << '\t'
          << Signed16(t.Spacing) << '\n';
    }
    for (int16_t i = 0; i < counts[0]; ++i) {
        TavoSenRecord x;
        GetSen(&x, i);
        r << "GetSen\t" << x.X1 << '\t' << x.Y1 << '\t' << x.X2 << '\t' << x.Y2 << '\t' << +x.LineType << '\t' << +x.Color
          << '\t' << +x.Lay << '\t' << +x.SpareByte << '\t' << Signed16(x.SpareWord) << "\t0\t0\n";
    }
    for (int16_t i = 0; i < counts[1]; ++i) {
        TavoEnkoRecord x;
        GetEnko(&x, i);
        r << "GetEnko\t" << x.X << '\t' << x.Y << '\t' << x.R << '\t' << Signed16(x.Flatness) << "\t0\t0\t" << x.StartAngle
          << '\t' << x.EndAngle << '\t' << x.Tilt << '\t' << +x.LineType << '\t' << +x.Color << '\t' << +x.Lay << '\t'
          << +x.SpareByte << '\t' << Signed16(x.SpareWord) << "\t0\t0\n";
    }
    for (int16_t i = 0; i < counts[2]; ++i) {
        TavoMojiRecord x;
        GetMoji(&x, i);
        r << "GetMoji\t" << x.X1 << '\t' << x.Y1 << '\t' << x.X2 << '\t' << x.Y2 << '\t' << +x.MojiNo << '\t' << +x.Lay
          << '\t' << Signed16(x.Flags) << '\n';
        TavoString text = GetMojiString(i);
        r << "GetMojiString\t" << tavo::test::Escaped(tavo::platform::Cp932ToUtf8(std::string(text, TavoStringByteLen(text)))) << '\n';
        TavoFreeString(text);
    }
    for (int16_t i = 0; i < counts[3]; ++i) {
        TavoTenRecord x;
        GetTen(&x, i);
        r << "GetTen\t" << x.X << '\t' << x.Y << '\t' << +x.Lay << '\t' << +x.Color << '\t' << Signed16(x.SpareWord) << '\n';
    }
    JwcDestroy();
    return r.str();
}

// The calls a build logged, made through the library, saving to `path`.
inline void Replay(const std::vector<LoggedCall>& log, const std::string& path) {
    for (const LoggedCall& c : log) {
        const auto f = [&c](std::size_t i) { return std::stof(c.args.at(i)); };
        const auto n = [&c](std::size_t i) { return static_cast<int32_t>(std::stod(c.args.at(i))); };
        const auto b = [&n](std::size_t i) { return static_cast<uint8_t>(n(i)); };
        const auto w = [&n](std::size_t i) { return static_cast<uint16_t>(n(i)); };
        if (c.name == "JwcCreate") {
            JwcCreate(static_cast<int16_t>(n(0)), static_cast<int16_t>(n(1)));
        } else if (c.name == "SetComment") {
            const std::string a = tavo::test::Converted(c.args.at(0), "UTF-8", "CP1252"), z = tavo::test::Converted(c.args.at(1), "UTF-8", "CP1252");
            const char *pa = a.c_str(), *pz = z.c_str();
            SetComment(&pa, &pz);
        } else if (c.name == "SetMojiTable") {
            SetMojiTable(static_cast<int16_t>(n(0)), w(1), w(2), w(3), w(4));
        } else if (c.name == "AddSen") {
            AddSen(f(0), f(1), f(2), f(3), b(4), b(5), b(6), b(7), w(8));
        } else if (c.name == "AddEnko") {
            AddEnko(f(0), f(1), f(2), w(3), n(4), n(5), n(6), b(7), b(8), b(9), b(10), w(11));
        } else if (c.name == "AddMoji") {
            const std::string text = tavo::platform::Utf8ToCp932(c.args.at(7));
            const char* p = text.c_str();
            AddMoji(f(0), f(1), f(2), f(3), b(4), b(5), w(6), &p);
        } else if (c.name == "AddTen") {
            AddTen(f(0), f(1), b(2), b(3), w(4));
        } else if (c.name == "JwcSaveTo") {
            const char* p = path.c_str();
            JwcSaveTo(&p);
        } else if (c.name == "JwcDestroy") {
            JwcDestroy();
        }
    }
}

// A CSV line's fields, quotes taken off.
inline std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            out.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            out.emplace_back();
        } else if (c != '\r') {
            out.back() += c;
        }
    }
    return out;
}

inline bool IsNumber(const std::string& s) {
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size();
}

}  // namespace tavo::test
