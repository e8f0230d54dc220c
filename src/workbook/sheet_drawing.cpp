#include "workbook/sheet_drawing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "base/geometry.h"
#include "viewer/text_layout.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/merge_lookup.h"
#include "workbook/ruled_lines.h"
#include "workbook/sheet_grid.h"

namespace tavo::workbook {

namespace {

constexpr double kCellMarginPoints = 1.5;  // room between a cell's edge and its text
constexpr double kLineSpacing = 1.3;       // lines of a text, in text heights

float F(double v) { return static_cast<float>(v); }

// A Windows colour value: red in the lowest byte.
int32_t WindowsColor(uint32_t rgb) {
    return static_cast<int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

struct Context {
    const SheetModel& model;
    const SheetGrid& grid;
    const MergeLookup& merges;
    const TavoSettings& settings;
    ExportCalls& calls;
    double mm;  // paper mm per point
};

// The area a cell draws in: its merged area when it leads one; false for
// the other cells of a merged area and for hidden cells.
bool CellArea(const Context& c, const Cell& cell, PaperRect& rect) {
    const CellRange* m = c.merges.find(cell.row, cell.col);
    if (m && (cell.row != m->firstRow || cell.col != m->firstCol)) return false;
    if (!m && (c.grid.rowOrdinal(cell.row) < 0 || c.grid.columnOrdinal(cell.col) < 0)) return false;
    return c.grid.areaRect(m ? *m : CellRange{cell.row, cell.col, cell.row, cell.col}, rect);
}

void DrawLine(const Context& c, double x1, double y1, double x2, double y2, const BorderLine& b) {
    const uint8_t pen = BorderPen(b.color, c.settings);
    const uint8_t type = BorderLineType(b.style, c.settings);
    if (b.style != BorderStyle::Double) {
        c.calls.AddLine(F(x1), F(y1), F(x2), F(y2), pen, c.settings.SenLay, type);
        return;
    }
    // Two lines DoubleSenPitch apart, one each side of the grid line.
    const double len = std::hypot(x2 - x1, y2 - y1);
    if (len <= 0) return;
    const double half = c.settings.DoubleSenPitch / 2.0;
    const double nx = -(y2 - y1) / len * half, ny = (x2 - x1) / len * half;
    for (double s : {1.0, -1.0})
        c.calls.AddLine(F(x1 + s * nx), F(y1 + s * ny), F(x2 + s * nx), F(y2 + s * ny), pen, c.settings.SenLay, type);
}

void DrawBorders(const Context& c) {
    for (const RuledLine& l : CollectRuledLines(c.model, c.grid, c.merges)) {
        if (l.horizontal)
            DrawLine(c, c.grid.x(l.first), c.grid.y(l.line), c.grid.x(l.last + 1), c.grid.y(l.line), l.border);
        else
            DrawLine(c, c.grid.x(l.line), c.grid.y(l.first), c.grid.x(l.line), c.grid.y(l.last + 1), l.border);
    }
    for (const DiagonalLine& d : CollectDiagonals(c.model, c.grid, c.merges)) {
        if (d.up)
            DrawLine(c, d.area.left, d.area.bottom, d.area.right, d.area.top, d.border);
        else
            DrawLine(c, d.area.left, d.area.top, d.area.right, d.area.bottom, d.border);
    }
}

// Filled cells as few rectangles: neighbours in a row with the same colour
// join, and so do equal runs in consecutive rows. Merged areas stand alone.
void DrawSolids(const Context& c) {
    struct Run {
        int32_t row, first, last;
        uint32_t rgb;
    };
    std::vector<Run> runs;
    std::vector<std::pair<PaperRect, uint32_t>> areas;
    for (const Cell& cell : c.model.cells) {
        const CellFormat& f = c.model.formats[cell.format];
        if (!f.fill) continue;
        const CellRange* m = c.merges.find(cell.row, cell.col);
        PaperRect rect;
        if (m) {
            if (CellArea(c, cell, rect)) areas.emplace_back(rect, *f.fill);
            continue;
        }
        const int32_t r = c.grid.rowOrdinal(cell.row), col = c.grid.columnOrdinal(cell.col);
        if (r >= 0 && col >= 0) runs.push_back({r, col, col, *f.fill});
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return std::tie(a.row, a.first) < std::tie(b.row, b.first);
    });
    std::vector<Run> joined;
    for (const Run& r : runs) {
        if (!joined.empty() && joined.back().row == r.row && joined.back().last + 1 == r.first &&
            joined.back().rgb == r.rgb)
            joined.back().last = r.last;
        else
            joined.push_back(r);
    }
    // Runs open in the row above, by columns and colour: their first row.
    std::map<std::tuple<int32_t, int32_t, uint32_t>, std::pair<int32_t, int32_t>> open;  // -> first row, last row
    std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, uint32_t>> rects;      // row0, col0, row1, col1, rgb
    const auto close = [&](int32_t beforeRow) {
        for (auto it = open.begin(); it != open.end();) {
            if (it->second.second < beforeRow) {
                const auto& [first, last, rgb] = it->first;
                rects.emplace_back(it->second.first, first, it->second.second, last, rgb);
                it = open.erase(it);
            } else {
                ++it;
            }
        }
    };
    for (const Run& r : joined) {
        close(r.row - 1);
        auto [it, fresh] = open.try_emplace({r.first, r.last, r.rgb}, r.row, r.row);
        if (!fresh) it->second.second = r.row;
    }
    close(INT32_MAX);
    std::sort(rects.begin(), rects.end());
    for (const auto& [r0, c0, r1, c1, rgb] : rects)
        c.calls.AddSolid(F(c.grid.x(c0)), F(c.grid.y(r0)), F(c.grid.x(c1 + 1)), F(c.grid.y(r1 + 1)),
                         WindowsColor(rgb), c.settings.SenLay);
    for (const auto& [rect, rgb] : areas)
        c.calls.AddSolid(F(rect.left), F(rect.top), F(rect.right), F(rect.bottom), WindowsColor(rgb),
                         c.settings.SenLay);
}

HAlign EffectiveAlign(const CellFormat& f, const Cell& cell) {
    if (f.hAlign != HAlign::General) return f.hAlign;
    if (f.verticalText || f.rotation != 0) return HAlign::Center;
    return cell.kind == CellKind::Number ? HAlign::Right : cell.kind == CellKind::Boolean ? HAlign::Center : HAlign::Left;
}

void DrawText(const Context& c, const Cell& cell, const PaperRect& r, const std::vector<std::string>& lines) {
    const CellFormat& f = c.model.formats[cell.format];
    const uint8_t size = TextSizeFor(f.fontPoints, c.mm, c.settings);
    const double w = c.settings.MojiWidth[size - 1] / 10.0, h = c.settings.MojiHeight[size - 1] / 10.0;
    const double pitch = c.settings.MojiPitch[size - 1] / 10.0;
    const double margin = kCellMarginPoints * c.mm;
    const double step = std::max(h, f.fontPoints * c.mm) * kLineSpacing;
    const double n = static_cast<double>(lines.size());
    const HAlign ha = EffectiveAlign(f, cell);
    const double cx = (r.left + r.right) / 2, cy = (r.bottom + r.top) / 2;
    const uint8_t lay = c.settings.MojiLay;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double len = TextCells(lines[i]) * (w + pitch) * 0.5;
        const double k = static_cast<double>(i);
        if (f.verticalText) {
            // Columns right to left, each one character wide, written downward.
            const double block = w + (n - 1) * step;
            const double left = ha == HAlign::Left ? r.left + margin : ha == HAlign::Right ? r.right - margin - block
                                                                                            : cx - block / 2;
            const double x = left + (n - 1 - k) * step;
            const double top = f.vAlign == VAlign::Top      ? r.top - margin
                               : f.vAlign == VAlign::Bottom ? r.bottom + margin + len
                                                            : cy + len / 2;
            c.calls.AddTextV(F(x), F(top), F(x), F(top - len), size, lay, lines[i]);
        } else if (f.rotation != 0) {
            // Centred on the cell, turned about its centre.
            const double a = f.rotation * kPi / 180;
            const double ux = std::cos(a), uy = std::sin(a), nx = -uy, ny = ux;
            const double shift = ((n - 1) / 2 - k) * step - h / 2;
            const double x = cx - len / 2 * ux + shift * nx, y = cy - len / 2 * uy + shift * ny;
            c.calls.AddText(F(x), F(y), F(x + len * ux), F(y + len * uy), size, lay, lines[i]);
        } else {
            const double x = ha == HAlign::Left ? r.left + margin : ha == HAlign::Right ? r.right - margin - len
                                                                                        : cx - len / 2;
            const double block = h + (n - 1) * step;
            const double first = f.vAlign == VAlign::Top      ? r.top - margin - h
                                 : f.vAlign == VAlign::Bottom ? r.bottom + margin + (n - 1) * step
                                                              : cy + block / 2 - h;
            const double y = first - k * step;
            c.calls.AddText(F(x), F(y), F(x + len), F(y), size, lay, lines[i]);
        }
    }
}

}  // namespace

std::optional<CellRange> DrawnRange(const SheetModel& model, const std::optional<CellRange>& requested) {
    if (requested) return requested;
    if (model.cells.empty()) return std::nullopt;
    CellRange r{INT32_MAX, INT32_MAX, -1, -1};
    for (const Cell& c : model.cells) {
        r.firstRow = std::min(r.firstRow, c.row);
        r.lastRow = std::max(r.lastRow, c.row);
        r.firstCol = std::min(r.firstCol, c.col);
        r.lastCol = std::max(r.lastCol, c.col);
    }
    for (bool grew = true; grew;) {  // a merged area reaching out of the box widens it
        grew = false;
        for (const CellRange& m : model.merges) {
            if (m.lastRow < r.firstRow || m.firstRow > r.lastRow || m.lastCol < r.firstCol || m.firstCol > r.lastCol)
                continue;
            const CellRange before = r;
            r.firstRow = std::min(r.firstRow, m.firstRow);
            r.lastRow = std::max(r.lastRow, m.lastRow);
            r.firstCol = std::min(r.firstCol, m.firstCol);
            r.lastCol = std::max(r.lastCol, m.lastCol);
            grew = grew || std::tie(before.firstRow, before.firstCol, before.lastRow, before.lastCol) !=
                               std::tie(r.firstRow, r.firstCol, r.lastRow, r.lastCol);
        }
    }
    return r;
}

void DrawSheet(const SheetModel& model, const CellRange& range, const TavoSettings& settings, ExportCalls& calls,
               const ProgressFn& progress) {
    const double mm = settings.DimScale;
    const SheetGrid grid(model, range, mm, settings.PlotOffset, PaperLength(settings.PlotSize));
    const MergeLookup merges(model.merges, range);
    const Context c{model, grid, merges, settings, calls, mm};
    if (settings.ExchangeSolid) DrawSolids(c);
    DrawBorders(c);
    if (progress) progress(0.3);
    const platform::Utf8ToCp932Converter toCp932;
    std::size_t done = 0;
    for (const Cell& cell : model.cells) {
        if (progress && ++done % 4096 == 0) progress(0.3 + 0.7 * static_cast<double>(done) / static_cast<double>(model.cells.size()));
        if (cell.kind == CellKind::Empty) continue;
        PaperRect rect;
        if (!CellArea(c, cell, rect)) continue;
        const std::vector<std::string> lines = CellTextLines(model, cell, settings.ExchangeCaret != 0, toCp932);
        if (!lines.empty()) DrawText(c, cell, rect, lines);
    }
    if (progress) progress(1.0);
}

}  // namespace tavo::workbook
