#include "workbook/ruled_lines.h"

#include <algorithm>
#include <tuple>

namespace tavo::workbook {

namespace {

struct UnitEdge {
    bool vertical;  // sorts horizontal edges first
    int32_t line, unit;
    uint8_t weight;
    uint32_t order;  // the later cell wins among equal weights
    BorderLine border;

    auto key() const { return std::tie(vertical, line, unit, weight, order); }
};

}  // namespace

std::vector<RuledLine> CollectRuledLines(const SheetModel& model, const SheetGrid& grid, const MergeLookup& merges) {
    std::vector<UnitEdge> edges;
    uint32_t order = 0;
    const auto add = [&](bool vertical, int32_t line, int32_t unit, const BorderLine& b) {
        if (b.style != BorderStyle::None)
            edges.push_back({vertical, line, unit, static_cast<uint8_t>(b.style), order, b});
    };
    for (const Cell& cell : model.cells) {
        ++order;
        if (cell.format >= model.formats.size()) continue;
        const CellFormat& f = model.formats[cell.format];
        const CellRange* m = merges.find(cell.row, cell.col);
        if (m && model.mergeBordersFromAnchor) {
            // The first cell's borders go round the whole area.
            CellRange o;
            if (cell.row != m->firstRow || cell.col != m->firstCol || !grid.areaOrdinals(*m, o)) continue;
            for (int32_t c = o.firstCol; c <= o.lastCol; ++c) {
                add(false, o.firstRow, c, f.top);
                add(false, o.lastRow + 1, c, f.bottom);
            }
            for (int32_t r = o.firstRow; r <= o.lastRow; ++r) {
                add(true, o.firstCol, r, f.left);
                add(true, o.lastCol + 1, r, f.right);
            }
            continue;
        }
        const int32_t r = grid.rowOrdinal(cell.row), c = grid.columnOrdinal(cell.col);
        if (r < 0 || c < 0) continue;
        if (!m || cell.row == m->firstRow) add(false, r, c, f.top);
        if (!m || cell.row == m->lastRow) add(false, r + 1, c, f.bottom);
        if (!m || cell.col == m->firstCol) add(true, c, r, f.left);
        if (!m || cell.col == m->lastCol) add(true, c + 1, r, f.right);
    }
    std::sort(edges.begin(), edges.end(), [](const UnitEdge& a, const UnitEdge& b) { return a.key() < b.key(); });

    std::vector<RuledLine> lines;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const UnitEdge& e = edges[i];
        if (i + 1 < edges.size() && edges[i + 1].vertical == e.vertical && edges[i + 1].line == e.line &&
            edges[i + 1].unit == e.unit)
            continue;  // a heavier or later border takes this edge
        if (!lines.empty()) {
            RuledLine& last = lines.back();
            if (last.horizontal == !e.vertical && last.line == e.line && last.last + 1 == e.unit &&
                last.border == e.border) {
                last.last = e.unit;
                continue;
            }
        }
        lines.push_back({!e.vertical, e.line, e.unit, e.unit, e.border});
    }
    return lines;
}

std::vector<DiagonalLine> CollectDiagonals(const SheetModel& model, const SheetGrid& grid, const MergeLookup& merges) {
    std::vector<DiagonalLine> out;
    for (const Cell& cell : model.cells) {
        if (cell.format >= model.formats.size()) continue;
        const CellFormat& f = model.formats[cell.format];
        if (f.diagonalUp.style == BorderStyle::None && f.diagonalDown.style == BorderStyle::None) continue;
        const CellRange* m = merges.find(cell.row, cell.col);
        if (m && (cell.row != m->firstRow || cell.col != m->firstCol)) continue;  // the area's first cell says
        PaperRect rect;
        if (!grid.areaRect(m ? *m : CellRange{cell.row, cell.col, cell.row, cell.col}, rect)) continue;
        if (f.diagonalUp.style != BorderStyle::None) out.push_back({rect, true, f.diagonalUp});
        if (f.diagonalDown.style != BorderStyle::None) out.push_back({rect, false, f.diagonalDown});
    }
    return out;
}

}  // namespace tavo::workbook
