// A corpus of workbooks by idiom: written by libxlsxwriter and openpyxl,
// assembled from hand-written parts the way other writers lay them out,
// and the same books saved again by LibreOffice as .ods. Every
// text of a book arrives, and every writer's copy draws the same lines,
// pens, line types, texts and shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "platform/encoding.h"
#include "test_support.h"
#include "workbook_corpus.h"
#include "workbook_support.h"

namespace {

using tavo::test::Book;
using tavo::test::Corpus;
using tavo::workbook::RecordedCall;

std::string Utf8(const std::string& cp932) { return tavo::platform::Cp932ToUtf8(cp932); }

// Every text the book shows arrived, and nothing else.
void ExpectTexts(const std::vector<RecordedCall>& calls, std::vector<std::string> want, const std::string& what) {
    std::vector<std::string> got;
    for (const RecordedCall& c : calls)
        if (c.name == "AddText" || c.name == "AddTextV") got.push_back(Utf8(c.text));
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << what;
}

// The drawing calls alone.
std::vector<RecordedCall> Adds(std::vector<RecordedCall> calls) {
    calls.erase(std::remove_if(calls.begin(), calls.end(), [](const RecordedCall& c) { return c.name.compare(0, 3, "Add") != 0; }),
                calls.end());
    return calls;
}

// The grid of a drawing along one axis: where its ruled lines across that
// axis lie (x of the upright lines, or y of the level ones), sorted.
std::vector<double> Grid(const std::vector<RecordedCall>& calls, bool x) {
    std::vector<double> at;
    for (const RecordedCall& c : calls) {
        const bool upright = std::fabs(c.xy[0] - c.xy[2]) < 1e-3, level = std::fabs(c.xy[1] - c.xy[3]) < 1e-3;
        if (c.name == "AddLine" && (x ? upright && !level : level && !upright)) at.push_back(x ? c.xy[0] : c.xy[1]);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end(), [](double a, double b) { return std::fabs(a - b) < 0.05; }), at.end());
    return at;
}

// A coordinate of one writer's drawing on another's grid: a writer that
// stores another column width (LibreOffice's .ods keeps the widths it
// shows) moves every line, while cells, texts and shapes keep their places
// among the grid lines.
double OnGrid(double v, const std::vector<double>& from, const std::vector<double>& to) {
    if (from.size() != to.size() || from.size() < 2) return v;
    std::size_t i = 1;
    while (i + 1 < from.size() && v > from[i]) ++i;
    const double span = from[i] - from[i - 1];
    return to[i - 1] + (v - from[i - 1]) * (span != 0 ? (to[i] - to[i - 1]) / span : 1);
}

// `b`, a call of another writer's drawing on the first one's grid, and `length`, its text's length as drawn.
bool Near(const RecordedCall& a, const RecordedCall& b, float length, double tolerance) {
    if (a.name != b.name || a.color != b.color || a.lay != b.lay || a.kind != b.kind || a.text != b.text) return false;
    const auto close = [&](double u, double v) { return std::fabs(u - v) <= tolerance; };
    if (a.name == "AddCircle")  // a circle's centre; its radius and flatness follow the cells' sizes
        return close(a.xy[0], b.xy[0]) && close(a.xy[1], b.xy[1]) && close(a.angles[0], b.angles[0]) &&
               close(a.angles[1], b.angles[1]);
    if (a.name == "AddText") {
        // Texts keep their length and the place their alignment holds:
        // their start, middle or end. LibreOffice shows a truth value as a
        // number, right-aligned, where the spreadsheet centres it.
        const bool anywhere = a.text == "TRUE" || a.text == "FALSE";
        return close(a.xy[1], b.xy[1]) && close(a.xy[3], b.xy[3]) && close(a.xy[2] - a.xy[0], length) &&
               (anywhere || close(a.xy[0], b.xy[0]) || close(a.xy[2], b.xy[2]) ||
                close((a.xy[0] + a.xy[2]) / 2, (b.xy[0] + b.xy[2]) / 2));
    }
    // A line may run either way.
    return (close(a.xy[0], b.xy[0]) && close(a.xy[1], b.xy[1]) && close(a.xy[2], b.xy[2]) && close(a.xy[3], b.xy[3])) ||
           (a.name == "AddLine" && close(a.xy[0], b.xy[2]) && close(a.xy[1], b.xy[3]) && close(a.xy[2], b.xy[0]) &&
            close(a.xy[3], b.xy[1]));
}

std::string Described(const RecordedCall& c) {
    std::ostringstream out;
    out << c.name << " (" << c.xy[0] << ", " << c.xy[1] << ", " << c.xy[2] << ", " << c.xy[3] << ") pen " << c.color << " type "
        << int(c.kind) << " \"" << Utf8(c.text) << "\"";
    return out.str();
}

// Both drawings hold the same calls, in any order, positions within 1 % of
// the drawing's extent once `got` lies on the grid of `want`.
void ExpectSameDrawing(const std::vector<RecordedCall>& want, const std::vector<RecordedCall>& got, const std::string& what) {
    double lo = 1e30, hi = -1e30;
    for (const RecordedCall& c : want)
        for (float v : c.xy) lo = std::min(lo, double(v)), hi = std::max(hi, double(v));
    const double tolerance = (hi > lo ? hi - lo : 1) * 0.01;
    const std::vector<double> gotX = Grid(got, true), wantX = Grid(want, true), gotY = Grid(got, false), wantY = Grid(want, false);
    std::vector<std::pair<RecordedCall, float>> rest;
    for (RecordedCall c : got) {
        const float length = c.xy[2] - c.xy[0];
        for (int k = 0; k < (c.name == "AddCircle" ? 2 : 4); ++k)
            c.xy[k] = float(k % 2 ? OnGrid(c.xy[k], gotY, wantY) : OnGrid(c.xy[k], gotX, wantX));
        rest.emplace_back(c, length);
    }
    for (const RecordedCall& w : want) {
        const auto it = std::find_if(rest.begin(), rest.end(), [&](const auto& g) { return Near(w, g.first, g.second, tolerance); });
        if (it == rest.end()) ADD_FAILURE() << what << ": no " << Described(w);
        else rest.erase(it);
    }
    for (const auto& g : rest) ADD_FAILURE() << what << ": an extra " << Described(g.first);
}

class WorkbookCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        for (const Book& b : books) b.write(Original(b));
    }
    std::string Original(const Book& b) const { return dir.file(b.name + ".xlsx"); }
    static TavoSettings Settings() {
        TavoSettings s = tavo::test::FactoryHostSettings();
        s.ExchangeCaret = 0;
        return s;
    }

    tavo::test::TempDir dir;
    const std::vector<Book> books = Corpus();
};

TEST_F(WorkbookCorpus, EveryTextArrivesAndWhatIsNotDrawnIsCounted) {
    for (const Book& b : books) {
        tavo::workbook::RecordingExportCalls calls(Settings());
        const tavo::workbook::WorkbookExportReport report = tavo::workbook::ExportWorkbookSheet(Original(b), {}, calls);
        ExpectTexts(calls.calls, b.texts, b.name);
        EXPECT_EQ(report.notDrawn.pictures, b.notDrawn.pictures) << b.name;
        EXPECT_EQ(report.notDrawn.charts, b.notDrawn.charts) << b.name;
        EXPECT_EQ(report.notDrawn.controls, b.notDrawn.controls) << b.name;
        EXPECT_TRUE(report.warnings.empty()) << b.name;
    }
}

// LibreOffice's .ods copies, saved in one headless run with a profile of
// the test's own. (Its .xlsx copies are among the fuzz seeds, read in
// every run.)
TEST_F(WorkbookCorpus, LibreOfficeCopiesDrawTheSame) {
    std::string inputs;
    for (const Book& b : books)
        if (b.libreOffice) inputs += " '" + Original(b) + "'";
    const std::string command = "cd '" + dir.path().string() + "' && soffice --headless --norestore -env:UserInstallation=file://" +
                                dir.file("profile") + " --convert-to ods --outdir ods" + inputs + " > lo.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "LibreOffice (libreoffice-calc-nogui) could not save the corpus";
    for (const Book& b : books) {
        if (!b.libreOffice) continue;
        const auto original = Adds(tavo::test::RecordExport(Original(b), Settings()).calls);
        const std::string copy = dir.file("ods/" + b.name + ".ods");
        const auto calls = Adds(tavo::test::RecordExport(copy, Settings()).calls);
        ExpectTexts(calls, b.texts, copy);
        ExpectSameDrawing(original, calls, copy);
    }
}

}  // namespace
