// A corpus of workbooks by idiom: written by libxlsxwriter and openpyxl,
// assembled from hand-written parts the way other writers lay them out,
// and the same books saved again by LibreOffice as .ods. Every
// text of a book arrives, and every writer's copy draws the same lines,
// pens, line types, texts and shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// The drawing's extent: the larger side of the box around its coordinates.
double Extent(const std::vector<RecordedCall>& calls) {
    double lo = 1e30, hi = -1e30;
    for (const RecordedCall& c : calls)
        if (c.name.compare(0, 3, "Add") == 0)
            for (float v : c.xy) {
                lo = std::min(lo, static_cast<double>(v));
                hi = std::max(hi, static_cast<double>(v));
            }
    return hi > lo ? hi - lo : 1;
}

// The grid of a drawing along one axis: where its ruled lines across that
// axis lie (x of the upright lines, or y of the level ones), sorted.
std::vector<double> Grid(const std::vector<RecordedCall>& calls, bool x) {
    std::vector<double> at;
    for (const RecordedCall& c : calls) {
        if (c.name != "AddLine") continue;
        const bool upright = std::fabs(c.xy[0] - c.xy[2]) < 1e-3, level = std::fabs(c.xy[1] - c.xy[3]) < 1e-3;
        if (x ? upright && !level : level && !upright) at.push_back(x ? c.xy[0] : c.xy[1]);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end(), [](double a, double b) { return std::fabs(a - b) < 0.05; }), at.end());
    return at;
}

// A coordinate of one writer's drawing on another's grid: a writer that
// stores another column width (LibreOffice's .ods keeps the widths it
// shows) moves every line, while cells, texts and shapes keep their places
// among the grid lines.
class GridMap {
public:
    GridMap(const std::vector<double>& from, const std::vector<double>& to) : from_(from), to_(to) {
        if (from_.size() != to_.size() || from_.size() < 2) from_.clear();
    }
    double operator()(double v) const {
        if (from_.empty()) return v;
        std::size_t i = 1;
        while (i + 1 < from_.size() && v > from_[i]) ++i;
        const double span = from_[i] - from_[i - 1];
        return to_[i - 1] + (v - from_[i - 1]) * (span != 0 ? (to_[i] - to_[i - 1]) / span : 1);
    }

private:
    std::vector<double> from_, to_;
};

// A recorded call of another writer's drawing, on the first one's grid.
struct Mapped {
    RecordedCall call;      // coordinates on the grid
    float length = 0;       // a text's length as drawn
};

bool Near(const RecordedCall& a, const Mapped& m, double tolerance) {
    const RecordedCall& b = m.call;
    if (a.name != b.name || a.color != b.color || a.lay != b.lay || a.kind != b.kind || a.text != b.text) return false;
    const auto close = [&](double u, double v) { return std::fabs(u - v) <= tolerance; };
    if (a.name == "AddCircle")  // a circle's centre; its radius and flatness follow the cells' sizes
        return close(a.xy[0], b.xy[0]) && close(a.xy[1], b.xy[1]) && close(a.angles[0], b.angles[0]) &&
               close(a.angles[1], b.angles[1]);
    if (a.name == "AddText") {
        // Texts keep their length and the place their alignment holds:
        // their start, middle or end. LibreOffice shows a truth value as a
        // number, right-aligned, where the spreadsheet centres it.
        const std::string t = Utf8(a.text);
        const bool anywhere = t == "TRUE" || t == "FALSE";
        return close(a.xy[1], b.xy[1]) && close(a.xy[3], b.xy[3]) && close(a.xy[2] - a.xy[0], m.length) &&
               (anywhere || close(a.xy[0], b.xy[0]) || close(a.xy[2], b.xy[2]) ||
                close((a.xy[0] + a.xy[2]) / 2, (b.xy[0] + b.xy[2]) / 2));
    }
    // A line may run either way.
    return (close(a.xy[0], b.xy[0]) && close(a.xy[1], b.xy[1]) && close(a.xy[2], b.xy[2]) && close(a.xy[3], b.xy[3])) ||
           (a.name == "AddLine" && close(a.xy[0], b.xy[2]) && close(a.xy[1], b.xy[3]) && close(a.xy[2], b.xy[0]) &&
            close(a.xy[3], b.xy[1]));
}

// Both drawings hold the same calls, in any order, positions within 1 % of
// the drawing's extent once `got` lies on the grid of `want`.
void ExpectSameDrawing(const std::vector<RecordedCall>& want, const std::vector<RecordedCall>& got, const std::string& what) {
    const double tolerance = Extent(want) * 0.01;
    const GridMap mapX(Grid(got, true), Grid(want, true)), mapY(Grid(got, false), Grid(want, false));
    std::vector<Mapped> rest;
    for (RecordedCall c : got) {
        if (c.name.compare(0, 3, "Add") != 0) continue;
        const float length = c.xy[2] - c.xy[0];
        c.xy[0] = static_cast<float>(mapX(c.xy[0]));
        c.xy[1] = static_cast<float>(mapY(c.xy[1]));
        if (c.name != "AddCircle") {
            c.xy[2] = static_cast<float>(mapX(c.xy[2]));
            c.xy[3] = static_cast<float>(mapY(c.xy[3]));
        }
        rest.push_back({c, length});
    }
    for (const RecordedCall& w : want) {
        if (w.name.compare(0, 3, "Add") != 0) continue;
        const auto it = std::find_if(rest.begin(), rest.end(), [&](const Mapped& g) { return Near(w, g, tolerance); });
        if (it == rest.end()) {
            ADD_FAILURE() << what << ": no " << w.name << " (" << w.xy[0] << ", " << w.xy[1] << ", " << w.xy[2] << ", " << w.xy[3]
                          << ") pen " << w.color << " type " << int(w.kind) << " \"" << Utf8(w.text) << "\"";
            continue;
        }
        rest.erase(it);
    }
    for (const Mapped& m : rest) {
        const RecordedCall& g = m.call;
        ADD_FAILURE() << what << ": an extra " << g.name << " (" << g.xy[0] << ", " << g.xy[1] << ", " << g.xy[2] << ", " << g.xy[3]
                      << ") pen " << g.color << " type " << int(g.kind) << " \"" << Utf8(g.text) << "\"";
    }
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
        const auto original = tavo::test::RecordExport(Original(b), Settings()).calls;
        const std::string copy = dir.file("ods/" + b.name + ".ods");
        const auto calls = tavo::test::RecordExport(copy, Settings()).calls;
        ExpectTexts(calls, b.texts, copy);
        ExpectSameDrawing(original, calls, copy);
    }
}

}  // namespace
