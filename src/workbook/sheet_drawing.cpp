#include "workbook/sheet_drawing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "base/geometry.h"
#include "base/jw_text.h"
#include "workbook/border_pens.h"
#include "workbook/cell_text.h"
#include "workbook/merge_lookup.h"
#include "workbook/ruled_lines.h"
#include "workbook/shape_drawing.h"
#include "workbook/sheet_grid.h"
#include "workbook/text_placement.h"

namespace tavo::workbook {

namespace {

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

uint64_t Key(int32_t row, int32_t col) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(col);
}

// Where a text may run past its cell, in the sheet's points: into empty
// neighbours of its row, as the spreadsheet shows it, up to a cell that
// holds something or a merged area; a merged area keeps its text inside.
// Beyond the drawn range nothing stands in the way.
class Overflow {
public:
    Overflow(const SheetModel& model, const CellRange& range, const MergeLookup& merges)
        : model_(model), range_(range), merges_(merges) {
        for (const Cell& c : model.cells)
            if (c.kind != CellKind::Empty) taken_.push_back(Key(c.row, c.col));
        std::sort(taken_.begin(), taken_.end());
    }

    // Points the text of `cell` (its area `own` points wide), `ha`
    // aligned, may take when it needs `wanted`.
    double room(const Cell& cell, double own, HAlign ha, double wanted) const {
        if (wanted <= own || merges_.find(cell.row, cell.col)) return own;
        const double need = wanted - own;
        if (ha == HAlign::Left) return own + reach(cell, +1, need);
        if (ha == HAlign::Right) return own + reach(cell, -1, need);
        return own + 2 * std::min(reach(cell, +1, need / 2), reach(cell, -1, need / 2));
    }

private:
    // Free room beside the cell in one direction, as much as `need` at most.
    double reach(const Cell& cell, int step, double need) const {
        double got = 0;
        for (int32_t col = cell.col + step; got < need; col += step) {
            if (col < range_.firstCol || col > range_.lastCol) return need;
            if (std::binary_search(taken_.begin(), taken_.end(), Key(cell.row, col)) || merges_.find(cell.row, col)) break;
            got += model_.columns.visibleSize(col);
        }
        return std::min(got, need);
    }

    const SheetModel& model_;
    const CellRange& range_;
    const MergeLookup& merges_;
    std::vector<uint64_t> taken_;  // cells that hold something, sorted
};

void DrawText(const Context& c, const Cell& cell, const PaperRect& r, std::vector<std::string> lines,
              const Overflow* overflow) {
    const CellFormat& f = c.model.formats[cell.format];
    const TextMetrics m = MetricsFor(f.fontPoints, c.mm, c.settings);
    const double margin = kCellMarginPoints * c.mm;
    const double n = static_cast<double>(lines.size());
    const HAlign ha = EffectiveAlign(f, cell);
    const double cx = (r.left + r.right) / 2, cy = (r.bottom + r.top) / 2;
    const uint8_t lay = c.settings.MojiLay;
    if (f.verticalText) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // Columns right to left, each one character wide, written downward.
            const double len = m.lineLength(lines[i]);
            const double block = m.width + (n - 1) * m.step;
            const double left = ha == HAlign::Left    ? r.left + margin
                                : ha == HAlign::Right ? r.right - margin - block
                                                      : cx - block / 2;
            const double x = left + (n - 1 - static_cast<double>(i)) * m.step;
            const double top = f.vAlign == VAlign::Top      ? r.top - margin
                               : f.vAlign == VAlign::Bottom ? r.bottom + margin + len
                                                            : cy + len / 2;
            c.calls.AddTextV(F(x), F(top), F(x), F(top - len), m.size, lay, lines[i]);
        }
        return;
    }
    if (f.rotation != 0) {
        // Centred on the cell, turned about its centre.
        const double a = f.rotation * kPi / 180;
        const double ux = std::cos(a), uy = std::sin(a), nx = -uy, ny = ux;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double len = m.lineLength(lines[i]);
            const double shift = ((n - 1) / 2 - static_cast<double>(i)) * m.step - m.height / 2;
            const double x = cx - len / 2 * ux + shift * nx, y = cy - len / 2 * uy + shift * ny;
            c.calls.AddText(F(x), F(y), F(x + len * ux), F(y + len * uy), m.size, lay, lines[i]);
        }
        return;
    }
    if (overflow) {
        // A line longer than its cell runs into empty neighbours, and is cut
        // where the sheet cuts it.
        const double own = (r.right - r.left) / c.mm;
        for (std::string& line : lines) {
            const double wanted = SheetTextPoints(line, f.fontPoints) + kCellPaddingPoints;
            const double room = overflow->room(cell, own, ha, wanted);
            if (wanted > room) line = CutToSheetWidth(line, f.fontPoints, room - kCellPaddingPoints, ha);
        }
    }
    const std::vector<PlacedLine> placed = PlaceLines(lines, r, ha, f.vAlign, margin, margin, m);
    for (std::size_t i = 0; i < lines.size(); ++i)
        c.calls.AddText(F(placed[i].x), F(placed[i].y), F(placed[i].x + placed[i].length), F(placed[i].y), m.size, lay,
                        lines[i]);
}

}  // namespace

std::optional<CellRange> DrawnRange(const SheetModel& model, const std::optional<CellRange>& requested) {
    if (requested) return requested;
    if (model.cells.empty() && model.shapes.empty()) return std::nullopt;
    CellRange r{INT32_MAX, INT32_MAX, -1, -1};
    for (const Cell& c : model.cells) {
        r.firstRow = std::min(r.firstRow, c.row);
        r.lastRow = std::max(r.lastRow, c.row);
        r.firstCol = std::min(r.firstCol, c.col);
        r.lastCol = std::max(r.lastCol, c.col);
    }
    for (const SheetShape& s : model.shapes) {  // drawn shapes are part of the used area
        for (const SheetPoint* p : {&s.box.from, s.box.to ? &*s.box.to : nullptr}) {
            if (!p) continue;
            r.firstRow = std::min(r.firstRow, p->row);
            r.lastRow = std::max(r.lastRow, p->row);
            r.firstCol = std::min(r.firstCol, p->col);
            r.lastCol = std::max(r.lastCol, p->col);
        }
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
               SheetTextConverter& toCp932, const ProgressFn& progress) {
    const double mm = settings.DimScale;
    const SheetGrid grid(model, range, mm, settings.PlotOffset, PaperLength(settings.PlotSize));
    const MergeLookup merges(model.merges, range);
    const Context c{model, grid, merges, settings, calls, mm};
    if (settings.ExchangeSolid) DrawSolids(c);
    DrawBorders(c);
    if (progress) progress(0.3);
    const Overflow overflow(model, range, merges);
    std::size_t done = 0;
    for (const Cell& cell : model.cells) {
        if (progress && ++done % 4096 == 0) progress(0.3 + 0.7 * static_cast<double>(done) / static_cast<double>(model.cells.size()));
        if (cell.kind == CellKind::Empty) continue;
        PaperRect rect;
        if (!CellArea(c, cell, rect)) continue;
        toCp932.at("cell " + CellName(cell.row, cell.col));
        const double widthPoints = (rect.right - rect.left) / mm;
        std::vector<std::string> lines = CellTextLines(model, cell, settings.ExchangeCaret != 0, widthPoints, toCp932);
        if (!lines.empty()) DrawText(c, cell, rect, std::move(lines), cell.kind == CellKind::Text ? &overflow : nullptr);
    }
    DrawShapes(model, grid, settings, calls, toCp932);
    if (progress) progress(1.0);
}

}  // namespace tavo::workbook
