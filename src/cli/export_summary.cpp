#include "cli/run_settings.h"
#include "cli/export_summary.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "cli/json_text.h"
#include "export/drawing_extent.h"
#include "export/jw_object.h"

namespace tavo::cli {

namespace {

// Millimetres and factors as a person reads them: at most one decimal.
std::string decimal(double value, int decimals = 1) {
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    std::string s(text.data());
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string counted(std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string scaleText(double scale) { return "1:" + decimal(scale, 3); }

std::string jsonNumber(double value) { return std::isfinite(value) ? decimal(value, 3) : "null"; }

std::string sizeWarning(const ExportSummary& s) {
    std::string text = "the drawing is " + decimal(s.timesPaper) + " times the " + PaperName(s.plotSize) +
                       " paper at " + scaleText(s.scaleBefore.value_or(s.scale));
    if (s.scaleBefore) return text + "; drawn at " + scaleText(s.scale) + " to fit (--fit)";
    if (s.fittingScale) return text + "; it fits at 1:" + std::to_string(*s.fittingScale) + " (--fit draws it so)";
    return text + " and fits at no scale up to 1:1000; a larger --paper or a smaller --dim-scale would help";
}

}  // namespace

void MeasureDrawing(TJwObject& drawing, int plotOffset, bool fit, ExportSummary& s) {
    s.lines = drawing.Lines.size();
    s.texts = drawing.Texts.size();
    s.arcs = drawing.Circles.size();
    s.points = drawing.Dots.size();
    s.fills = drawing.Solids.size();
    s.plotSize = drawing.PlotSize;
    s.scale = drawing.JwcScale;
    const PaperSheet sheet = PaperSheetOf(drawing.PlotSize);
    PaperBox box = DrawingPaperBox(drawing);
    s.timesPaper = TimesPaper(box, sheet);
    if (s.timesPaper > 1) {
        s.fittingScale = FittingScale(s.timesPaper, drawing.JwcScale > 0 ? drawing.JwcScale : 1);
        if (fit && s.fittingScale) {
            s.scaleBefore = s.scale;
            RescaleDrawing(drawing, *s.fittingScale, plotOffset);
            s.scale = drawing.JwcScale;
            box = DrawingPaperBox(drawing);
        }
        s.warnings.push_back(sizeWarning(s));
        s.timesPaper = TimesPaper(box, sheet);  // the drawing as written; the warning told the size before
    }
    s.width = box.width();
    s.height = box.height();
}

void WarnOfFillsLeftOut(ExportSummary& s) {
    if (s.fills == 0) return;
    s.warnings.push_back(std::to_string(s.fills) + (s.fills == 1 ? " fill" : " fills") +
                         " not written: a .jwc has no record for fills (a JWW file, .txt, or a DXF file keeps them)");
}

std::string SummaryLine(const ExportSummary& s, bool verbose) {
    std::string text;
    if (!s.sheet.empty()) text += "sheet \"" + s.sheet + "\" " + s.range + " ";
    text += "-> " + s.output + ": " + counted(s.lines, "line") + ", " + counted(s.texts, "text") + ", " +
            counted(s.arcs, "arc") + ", " + counted(s.fills, "fill");
    if (s.points) text += ", " + counted(s.points, "point");
    text += "; " + decimal(s.width, 0) + " x " + decimal(s.height, 0) + " mm on the " + PaperName(s.plotSize) +
            " paper at " + scaleText(s.scale);
    if (verbose && !s.settings.empty()) text += "; settings: " + s.settings;
    return text;
}

std::string SummaryJson(const ExportSummary& s) {
    const PaperSheet sheet = PaperSheetOf(s.plotSize);
    std::string warnings = "[";
    for (const std::string& w : s.warnings) warnings += (warnings.size() > 1 ? ", " : "") + JsonString(w);
    warnings += "]";
    JsonObject counts;
    counts.number("lines", static_cast<long long>(s.lines))
        .number("texts", static_cast<long long>(s.texts))
        .number("arcs", static_cast<long long>(s.arcs))
        .number("points", static_cast<long long>(s.points))
        .number("fills", static_cast<long long>(s.fills));
    JsonObject paper;
    paper.text("size", PaperName(s.plotSize))
        .raw("width_mm", jsonNumber(sheet.width))
        .raw("height_mm", jsonNumber(sheet.height))
        .raw("scale", jsonNumber(s.scale));
    JsonObject extent;
    extent.raw("width_mm", jsonNumber(s.width))
        .raw("height_mm", jsonNumber(s.height))
        .raw("times_paper", jsonNumber(s.timesPaper))
        .raw("fitting_scale", s.fittingScale ? std::to_string(*s.fittingScale) : "null")
        .raw("scale_before_fit", s.scaleBefore ? jsonNumber(*s.scaleBefore) : "null");
    JsonObject notDrawn;
    notDrawn.number("pictures", s.notDrawn.pictures)
        .number("charts", s.notDrawn.charts)
        .number("controls", s.notDrawn.controls)
        .number("shapes", s.notDrawn.shapes);
    JsonObject o;
    o.text("input", s.input).text("output", s.output);
    o.raw("sheet", s.sheet.empty() ? "null" : JsonString(s.sheet));
    o.raw("range", s.range.empty() ? "null" : JsonString(s.range));
    return o.raw("counts", counts.str())
        .raw("paper", paper.str())
        .raw("extent", extent.str())
        .raw("not_drawn", notDrawn.str())
        .raw("warnings", warnings)
        .text("settings", s.settings)
        .str();
}

std::string FailureJson(const std::string& input, const std::string& error) {
    return JsonObject().text("input", input).text("error", error).str();
}

}  // namespace tavo::cli
