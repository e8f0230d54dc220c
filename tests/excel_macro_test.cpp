// The spreadsheet macros (host/excel) checked without Excel: LibreOffice
// Calc runs them headless, with a stand-in for the declarations that logs
// every call of the library (tests/excel). On each workbook of the workbook
// host's corpus the export macro makes the same calls, in the same order,
// as src/workbook does for the same sheet; dumping a .jwc gives the rows of
// `tavo dump`, and building from them the bytes of `tavo build`; and the
// macros' rules give the answers of the workbook host's functions.
//
// Where LibreOffice 7.4's emulation of Excel's objects differs from Excel's
// documentation, the macros follow Excel and the test compares around it:
// - a column of n characters is as wide as LibreOffice's fonts make it:
//   each workbook's columns and rows get the widths and heights Excel shows
//   (those src/workbook reads) before the macro runs;
// - Border.LineStyle reads every border, even a missing one, as continuous
//   and Border.Weight fails for medium dashed ones: the harness hands the
//   macro borders as Excel documents them, from LibreOffice's own border
//   properties (tests/excel/StandInBorders.cls); LibreOffice has no
//   automatic border colour, so black stands for it (as src/workbook reads
//   .ods files);
// - StrConv(bytes, vbUnicode), with which the dump reads a .jwc file's
//   comments, decodes the system's code page: Shift-JIS in Excel on
//   Japanese Windows, Windows-1252 in LibreOffice on Linux; the test reads
//   the comments that way, and gives them back as those bytes;
// - see AsLibreOfficeShowsIt below for the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "excel_macro_cases.h"
#include "excel_macro_support.h"
#include "platform/encoding.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/shape_drawing.h"
#include "workbook/sheet_drawing.h"
#include "workbook/workbook_reader.h"
#include "viewer/text_layout.h"
#include "workbook/xlsx_drawing.h"
#include "workbook_corpus.h"

namespace {

namespace fs = std::filesystem;
using tavo::test::BuildFailure;
using tavo::test::DrawingFile;
using tavo::test::ExportScenario;
using tavo::test::LoggedCall;
using tavo::test::MacroJob;
using tavo::test::MacroResult;
using tavo::test::Strings;
using tavo::test::TestSettings;
using tavo::workbook::RecordedCall;

bool IsAdd(const std::string& name) { return name.compare(0, 3, "Add") == 0; }

std::string Utf8(const std::string& cp932) { return tavo::platform::Cp932ToUtf8(cp932); }

// A logged add call in the form the workbook host's recording keeps.
RecordedCall AsRecorded(const LoggedCall& c) {
    RecordedCall r;
    r.name = c.name;
    const auto f = [&c](std::size_t i) { return i < c.args.size() ? std::stof(c.args[i]) : 0.0f; };
    const auto n = [&c](std::size_t i) { return i < c.args.size() ? static_cast<int32_t>(std::stod(c.args[i])) : 0; };
    r.xy = {f(0), f(1), f(2), f(3)};
    if (c.name == "AddLine") {
        r.color = n(4);
        r.lay = static_cast<uint8_t>(n(5));
        r.kind = static_cast<uint8_t>(n(6));
    } else if (c.name == "AddText" || c.name == "AddTextV") {
        r.kind = static_cast<uint8_t>(n(4));
        r.lay = static_cast<uint8_t>(n(5));
        r.text = c.args.size() > 6 ? c.args[6] : "";
    } else if (c.name == "AddCircle") {
        r.angles = {f(4), f(5), f(6)};
        r.color = n(7);
        r.lay = static_cast<uint8_t>(n(8));
        r.kind = static_cast<uint8_t>(n(9));
    } else if (c.name == "AddSolid") {
        r.color = n(4);
        r.lay = static_cast<uint8_t>(n(5));
    }
    return r;
}

std::string Describe(const RecordedCall& c, bool cp932) {
    std::ostringstream s;
    s << c.name << " (" << c.xy[0] << ", " << c.xy[1] << ", " << c.xy[2] << ", " << c.xy[3] << ") pen/colour " << c.color
      << " lay " << +c.lay << " type/size " << +c.kind << " \"" << (cp932 ? Utf8(c.text) : c.text) << "\"";
    return s.str();
}

// The workbook host's add calls and the macro's agree call for call: the
// same export, coordinates within 0.1 mm, the same pens, line types,
// layers and texts.
void ExpectSameAdds(const std::vector<RecordedCall>& host, const std::vector<LoggedCall>& macro, const std::string& what) {
    std::vector<RecordedCall> want, got;
    for (const RecordedCall& c : host)
        if (IsAdd(c.name)) want.push_back(c);
    for (const LoggedCall& c : macro)
        if (IsAdd(c.name)) got.push_back(AsRecorded(c));
    int reported = 0;
    for (std::size_t i = 0; i < std::max(want.size(), got.size()) && reported < 12; ++i) {
        const bool same = i < want.size() && i < got.size() && [&] {
            const RecordedCall &a = want[i], &b = got[i];
            for (std::size_t k = 0; k < 4; ++k)
                if (std::fabs(a.xy[k] - b.xy[k]) > 0.1) return false;
            for (std::size_t k = 0; k < 3; ++k)
                if (std::fabs(a.angles[k] - b.angles[k]) > 0.01) return false;
            return a.name == b.name && a.color == b.color && a.lay == b.lay && a.kind == b.kind && Utf8(a.text) == b.text;
        }();
        if (same) continue;
        ++reported;
        ADD_FAILURE() << what << ": call " << i + 1 << " of the adds: the workbook host makes "
                      << (i < want.size() ? Describe(want[i], true) : std::string("none")) << ", the macro "
                      << (i < got.size() ? Describe(got[i], false) : std::string("none"));
    }
    EXPECT_EQ(want.size(), got.size()) << what;
}

// Columns and rows as Excel lays them out (the workbook host's sizes), up to
// a little beyond the drawn range.
void ExcelGeometry(const std::string& book, MacroJob& job) {
    const tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(book, {});
    const auto range = tavo::workbook::DrawnRange(model, std::nullopt);
    if (!range) return;
    for (int32_t c = 0; c <= range->lastCol + 2; ++c) job.columns.emplace_back(c, model.columns.visibleSize(c));
    for (int32_t r = 0; r <= range->lastRow + 2; ++r) job.rows.emplace_back(r, model.rows.visibleSize(r));
}

// What LibreOffice 7.4's emulation of Excel's objects lets a macro read of
// a sheet, in the workbook host's terms; each difference from Excel's
// documentation is one change here:
// - Range.Text of a truth value is 1 or 0 (Excel: TRUE or FALSE);
// - an error value's Range.Value is a number (Excel: an error, which the
//   workbook host takes for a text), so it stands right in its cell;
// - the HorizontalAlignment of a stacked or turned text in general
//   alignment is xlRight (Excel: xlGeneral);
// - Shape has no AutoShapeType, HorizontalFlip, VerticalFlip, Adjustments,
//   GroupItems or Line.EndArrowheadStyle: of the drawn shapes only straight
//   lines and connectors are read, without an arrow head at their end.
void AsLibreOfficeShowsIt(tavo::workbook::SheetModel& m) {
    using tavo::workbook::CellKind;
    const std::vector<std::string> errors{"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"};
    for (tavo::workbook::Cell& c : m.cells) {
        if (c.kind == CellKind::Boolean) {
            c.text = m.addText({c.number != 0 ? "1" : "0", {}});
        } else if (c.kind == CellKind::Text && c.text < m.texts.size() &&
                   std::find(errors.begin(), errors.end(), m.texts[c.text].text) != errors.end()) {
            c.kind = CellKind::Number;
        }
    }
    for (tavo::workbook::CellFormat& f : m.formats)
        if ((f.verticalText || f.rotation != 0) && f.hAlign == tavo::workbook::HAlign::General) f.hAlign = tavo::workbook::HAlign::Right;
    std::vector<tavo::workbook::SheetShape> lines;
    for (tavo::workbook::SheetShape shape : m.shapes)
        if (shape.kind == tavo::workbook::ShapeKind::Line) {
            shape.tailArrow = false;
            lines.push_back(shape);
        }
    m.shapes = lines;
}

// The workbook host's calls for a sheet as LibreOffice shows it.
std::vector<RecordedCall> HostCalls(const std::string& book, const TavoSettings& settings) {
    tavo::workbook::RecordingExportCalls calls(settings);
    const TavoSettings s = calls.ReadInifile();
    const std::string comment1 = calls.ReadIniString(1), comment2 = calls.ReadIniString(2);
    tavo::workbook::ReadOptions read;
    read.collect.keepFills = s.ExchangeSolid != 0;
    tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(book, read);
    AsLibreOfficeShowsIt(model);
    const auto range = tavo::workbook::DrawnRange(model, std::nullopt);
    if (!range) return calls.calls;
    calls.ObjCreateByInifile();
    calls.SetObjComment(comment1, comment2);
    tavo::workbook::SheetTextConverter toCp932(book, model.name, false);
    tavo::workbook::DrawSheet(model, *range, s, calls, toCp932);
    return calls.calls;
}

std::vector<std::pair<std::string, std::vector<std::string>>> ExportCalls(const std::string& replies) {
    return {{"StandInStart", {replies}}, {"TavoExportSheet", {}}, {"StandInFinish", {}}};
}

// The calls of the export task, but the adds, Progress and the error
// questions, in the order the macro makes them for the target of the test's
// settings (a .jwc file).
const std::vector<std::string> kExportFraming = {
    "ShowExportForm", "ReadInifile", "ProgressCreate", "DrawWidth",     "ObjCreateByInifile", "ProgressDestroy",
    "ReadIniString",  "ReadIniString", "SetObjComment", "ReadIniString", "ObjSaveToJwcFile",   "MsgBox",
    "ObjDestroy"};

std::vector<std::string> Framing(const std::vector<LoggedCall>& log) {
    std::vector<std::string> names;
    for (const std::string& n : tavo::test::CallNames(log))
        if (!IsAdd(n)) names.push_back(n);
    return names;
}

class ExcelMacros : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new tavo::test::TempDir;
        books_ = new std::vector<tavo::test::Book>(tavo::test::Corpus());
        books_->push_back({"walk", tavo::test::WriteWalkBook, {}});
        std::vector<MacroJob> jobs;
        const std::string replies = tavo::test::SettingsReplies(TestSettings(), Strings());
        for (const tavo::test::Book& b : *books_) {
            const std::string path = BookPath(b.name);
            b.write(path);
            // Left out as the corpus leaves it out of LibreOffice's copies: a
            // workbook without a styles part, whose texts LibreOffice sets in
            // its own default of 10 points (Excel's is 11).
            if (!b.libreOffice) continue;
            MacroJob job{b.name, path};
            ExcelGeometry(path, job);
            job.calls = ExportCalls(replies);
            jobs.push_back(job);
        }
        for (const ExportScenario& scenario : tavo::test::ExportScenarios()) {
            TavoSettings s = TestSettings();
            s.ExportTarget = scenario.target;
            std::map<int, std::string> strings = Strings();
            strings[3] = scenario.fileName;
            MacroJob job{scenario.name, BookPath("lxw_form")};
            ExcelGeometry(job.book, job);
            job.calls = ExportCalls(tavo::test::SettingsReplies(s, strings) + scenario.replies);
            jobs.push_back(job);
        }
        jobs.push_back({"empty sheet", "", {}, {}, "", ExportCalls(replies)});
        for (const BuildFailure& f : tavo::test::BuildFailures()) {
            const std::string path = (dir_->path() / ("build " + f.name + ".xlsx")).string();
            tavo::test::WriteRows(path, f.rows);
            jobs.push_back({"build " + f.name, path, {}, {}, "", {{"StandInStart", {replies}}, {"TavoBuildJwc", {}}, {"StandInFinish", {}}}});
        }
        std::string rules;
        for (const auto& [input, answer] : tavo::test::RuleCases()) rules += input + "\n";
        jobs.push_back({"rules", "", {}, {}, "", {{"StandInStart", {replies}}, {"ProbeRules", {rules}}}});
        MacroJob shapes{"shapes", ""};
        shapes.calls.push_back({"StandInStart", {replies}});
        for (const std::string& fields : tavo::test::ShapeProbes(tavo::test::ShapeCases(BookPath("parts_shapes")), ShapesGrid(), TestSettings().DimScale))
            shapes.calls.push_back({"ProbeShape", {fields}});
        shapes.calls.push_back({"StandInFinish", {}});
        jobs.push_back(shapes);
        MacroJob compiled{"compiled", ""};
        compiled.calls = {{"StandInCompiled", {}}};
        compiled.realDeclarations = true;
        jobs.push_back(compiled);
        for (const DrawingFile& d : DrawingFiles()) jobs.push_back(DumpAndBuildJob(d));
        results_ = new std::map<std::string, MacroResult>(tavo::test::RunMacros(jobs, dir_->path()));
    }
    static void TearDownTestSuite() {
        // For a person to look at the runs: TAVO_KEEP_MACRO_RUN=DIR keeps the books, jobs and logs.
        if (const char* keep = std::getenv("TAVO_KEEP_MACRO_RUN"))
            fs::copy(dir_->path(), keep, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        delete results_;
        delete books_;
        delete dir_;
    }

    static std::string BookPath(const std::string& name) { return (dir_->path() / (name + ".xlsx")).string(); }

    static std::vector<DrawingFile> DrawingFiles() {
        const std::string entities = (dir_->path() / "entities.jwc").string();
        if (!fs::exists(entities))
            tavo::test::RunCommand(std::string(TAVO_CLI) + " build --mm --utf8 '" + TAVO_SOURCE_DIR + "/examples/entities.csv' -o '" + entities + "'");
        return {{"workbook_form", std::string(TAVO_SOURCE_DIR) + "/tests/data/workbook_form.jwc"}, {"entities", entities}};
    }

    // Dumps the file into a new sheet, then builds a drawing from that sheet.
    static MacroJob DumpAndBuildJob(const DrawingFile& d) {
        MacroJob job{"dump " + d.name, ""};
        std::map<int, std::string> strings = Strings();
        strings[3] = "built.jwc";
        job.calls = {{"StandInStart", {tavo::test::DumpReplies(d.path)}},
                     {"TavoDumpJwc", {}},
                     {"StandInFinish", {}},
                     {"StandInStart", {tavo::test::SettingsReplies(TestSettings(), strings)}},
                     {"TavoBuildJwc", {}},
                     {"StandInFinish", {}}};
        job.readSheet = true;
        return job;
    }

    // The workbook host's grid of the corpus's shapes book, which ShapeCases' shapes lie on.
    static const tavo::workbook::SheetGrid& ShapesGrid() {
        static const tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(BookPath("parts_shapes"), {});
        static const tavo::workbook::SheetGrid grid(model, *tavo::workbook::DrawnRange(model, std::nullopt),
                                                    TestSettings().DimScale, TestSettings().PlotOffset,
                                                    DrawWidth(TestSettings().PlotSize));
        return grid;
    }

    // The log a job's call `call` handed back, checked to be there.
    static std::vector<LoggedCall> Log(const std::string& job, std::size_t call = 2) {
        const MacroResult& r = results_->at(job);
        EXPECT_EQ(r.error, "") << job;
        if (r.results.size() <= call || !r.results[call]) {
            ADD_FAILURE() << job << ": the macro module did not compile or its Basic stopped (" << r.error << ")";
            return {};
        }
        return tavo::test::ParseLog(*r.results[call]);
    }

    static tavo::test::TempDir* dir_;
    static std::vector<tavo::test::Book>* books_;
    static std::map<std::string, MacroResult>* results_;
};

tavo::test::TempDir* ExcelMacros::dir_ = nullptr;
std::vector<tavo::test::Book>* ExcelMacros::books_ = nullptr;
std::map<std::string, MacroResult>* ExcelMacros::results_ = nullptr;

TEST_F(ExcelMacros, CorpusSheetsExportAsTheWorkbookHostExportsThem) {
    for (const tavo::test::Book& b : *books_) {
        if (!b.libreOffice) continue;
        const std::vector<LoggedCall> log = Log(b.name);
        ExpectSameAdds(HostCalls(BookPath(b.name), TestSettings()), log, b.name);
        EXPECT_EQ(Framing(log), kExportFraming) << b.name;
        for (const LoggedCall& c : log)
            if (c.name == "SetObjComment") {
                EXPECT_EQ(c.args, (std::vector<std::string>{"c1", "コメント"})) << b.name;
            }
    }
}

TEST_F(ExcelMacros, ExportEndsAsTheUserOrTheLibrarySays) {
    for (const ExportScenario& scenario : tavo::test::ExportScenarios()) {
        const std::vector<LoggedCall> log = Log(scenario.name);
        EXPECT_EQ(Framing(log), scenario.calls) << scenario.name;
        if (!scenario.message.empty() && !log.empty() && log.back().name == "MsgBox") {
            EXPECT_EQ(log.back().args.at(0), "Tavo エクスポート") << scenario.name;
            EXPECT_NE(log.back().args.at(1).find(scenario.message), std::string::npos) << scenario.name;
        }
    }
    const std::vector<LoggedCall> empty = Log("empty sheet");
    EXPECT_EQ(Framing(empty), (std::vector<std::string>{"ShowExportForm", "ReadInifile", "ProgressCreate", "ProgressDestroy", "MsgBox"}));
    if (!empty.empty()) {
        EXPECT_EQ(empty.back().args.at(1), "シート \"Sheet1\" には描くものがありません。");
    }
}

TEST_F(ExcelMacros, BuildStopsAtARowItCannotRead) {
    for (const BuildFailure& f : tavo::test::BuildFailures()) {
        const std::vector<LoggedCall> log = Log("build " + f.name);
        const std::vector<std::string> names = Framing(log);
        EXPECT_TRUE(std::find(names.begin(), names.end(), "JwcSaveTo") == names.end()) << f.name;
        ASSERT_FALSE(log.empty()) << f.name;
        EXPECT_EQ(log.back().name, "MsgBox") << f.name;
        const std::string row = "の " + std::to_string(f.rows.size()) + " 行目: ";
        EXPECT_NE(log.back().args.at(1).find("シート \"Sheet1\" " + row), std::string::npos) << log.back().args.at(1);
        EXPECT_NE(log.back().args.at(1).find(f.says), std::string::npos) << log.back().args.at(1);
    }
}

TEST_F(ExcelMacros, RulesGiveTheWorkbookHostsAnswers) {
    const MacroResult& r = results_->at("rules");
    ASSERT_TRUE(r.results.size() == 2 && r.results[1]) << r.error;
    const std::vector<std::string> answers = tavo::test::Split(*r.results[1], '\n');
    const auto cases = tavo::test::RuleCases();
    ASSERT_GE(answers.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const bool numeric = cases[i].first.compare(0, 6, "points") == 0;
        if (numeric)
            EXPECT_NEAR(std::stod(answers[i]), std::stod(cases[i].second), 1e-9) << cases[i].first;
        else
            EXPECT_EQ(answers[i], cases[i].second) << tavo::test::Unescaped(cases[i].first);
    }
}

TEST_F(ExcelMacros, ShapesDrawAsTheWorkbookHostDrawsThem) {
    tavo::workbook::SheetModel model = tavo::workbook::ReadWorkbookSheet(BookPath("parts_shapes"), {});
    model.shapes = tavo::test::ShapeCases(BookPath("parts_shapes"));
    tavo::workbook::RecordingExportCalls host(TestSettings());
    tavo::workbook::SheetTextConverter toCp932("shapes", "Sheet1", false);
    tavo::workbook::DrawShapes(model, ShapesGrid(), TestSettings(), host, toCp932);
    ExpectSameAdds(host.calls, Log("shapes", results_->at("shapes").results.size() - 1), "shapes");
}

TEST_F(ExcelMacros, ModulesCompileUnderLibreOfficesBasic) {
    const MacroResult& r = results_->at("compiled");
    EXPECT_EQ(r.results.size() == 1 && r.results[0] ? *r.results[0] : r.error, "compiled")
        << "Tavo.bas and the macro modules, joined, do not compile";
}

TEST_F(ExcelMacros, DumpGivesTheRowsOfTavoDumpAndBuildTheBytesOfTavoBuild) {
    for (const DrawingFile& d : DrawingFiles()) {
        const std::string job = "dump " + d.name;
        const MacroResult& r = results_->at(job);
        ASSERT_EQ(r.error, "") << job;
        // The rows of `tavo dump`, but its first line, which names the encoding.
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : tavo::test::Split(tavo::test::RunCommand(std::string(TAVO_CLI) + " dump --utf8 '" + d.path + "'"), '\n'))
            if (!line.empty() && line.compare(0, 11, "# encoding:") != 0) rows.push_back(tavo::test::CsvFields(line));
        ASSERT_EQ(r.sheet.size(), rows.size()) << job;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string> cells = r.sheet[i];
            while (!cells.empty() && cells.back().empty()) cells.pop_back();
            while (!rows[i].empty() && rows[i].back().empty()) rows[i].pop_back();
            if (rows[i][0] == "Comment")
                for (std::size_t k = 1; k < rows[i].size(); ++k) rows[i][k] = tavo::test::CommentAsLibreOfficeReadsIt(rows[i][k]);
            ASSERT_EQ(cells.size(), rows[i].size()) << job << " row " << i + 1;
            for (std::size_t k = 0; k < cells.size(); ++k) {
                if (tavo::test::IsNumber(rows[i][k]) && tavo::test::IsNumber(cells[k]))
                    EXPECT_EQ(std::stof(cells[k]), std::stof(rows[i][k])) << job << " row " << i + 1 << " column " << k + 1;
                else
                    EXPECT_EQ(cells[k], rows[i][k]) << job << " row " << i + 1 << " column " << k + 1;
            }
        }
        const std::string csv = (dir_->path() / (d.name + ".csv")).string(), byCli = (dir_->path() / (d.name + ".cli.jwc")).string();
        tavo::test::RunCommand(std::string(TAVO_CLI) + " dump '" + d.path + "' -o '" + csv + "'");
        tavo::test::RunCommand(std::string(TAVO_CLI) + " build '" + csv + "' -o '" + byCli + "'");
        const std::string byMacro = (dir_->path() / (d.name + ".macro.jwc")).string();
        const std::vector<LoggedCall> build = Log(job, 5);
        tavo::test::Replay(build, byMacro);
        EXPECT_EQ(tavo::test::readFile(byMacro), tavo::test::readFile(byCli)) << job;
        EXPECT_EQ(Framing(build).front(), "ShowBuildForm");
    }
}

}  // namespace
