#include "workbook/ruled_lines.h"

#include "workbook/cell_collector.h"

#include <algorithm>

namespace tavo::workbook {

namespace {

// An edge of one cell side as one number, sorted plainly: horizontal edges
// first, then by grid line, by place along it, by weight, and by the
// edge's index, which follows the cells' order (the later cell wins among
// equal weights). Lines and places are below 2^17 (65537 rows, 16385
// columns), indices below 2^25 (the cells are limited to fewer).
constexpr int kIndexBits = 25;
static_assert(4 * kMaxDrawnCells < (std::size_t{1} << kIndexBits) && kMaxDrawnRows + 1 < (1 << 17));

uint64_t EdgeKey(bool vertical, int32_t line, int32_t unit, BorderStyle style, std::size_t index) {
    return uint64_t{vertical} << 63 | uint64_t(uint32_t(line)) << 46 | uint64_t(uint32_t(unit)) << 29 |
           uint64_t(style) << kIndexBits | index;
}
bool Vertical(uint64_t key) { return (key >> 63) != 0; }
int32_t Line(uint64_t key) { return static_cast<int32_t>((key >> 46) & 0x1FFFF); }
int32_t Unit(uint64_t key) { return static_cast<int32_t>((key >> 29) & 0x1FFFF); }
uint64_t Place(uint64_t key) { return key >> 29; }  // orientation, line and unit
std::size_t Index(uint64_t key) { return key & ((uint64_t{1} << kIndexBits) - 1); }

// Keys by their upper 39 bits in three stable passes of 13 bits; equal
// upper bits keep the order they came in, which is the index order. A
// comparison sort of a large sheet's edges took most of the drawing's time.
void SortKeys(std::vector<uint64_t>& keys) {
    constexpr int kDigitBits = 13;
    std::vector<uint64_t> other(keys.size());
    std::vector<std::size_t> count(std::size_t{1} << kDigitBits);
    for (int shift = kIndexBits; shift < 64; shift += kDigitBits) {
        const auto digit = [shift](uint64_t k) { return static_cast<std::size_t>((k >> shift) & ((1u << kDigitBits) - 1)); };
        std::fill(count.begin(), count.end(), 0);
        for (uint64_t k : keys) ++count[digit(k)];
        std::size_t at = 0;
        for (std::size_t& c : count) {
            const std::size_t n = c;
            c = at;
            at += n;
        }
        for (uint64_t k : keys) other[count[digit(k)]++] = k;
        keys.swap(other);
    }
}

}  // namespace

std::vector<RuledLine> CollectRuledLines(const SheetModel& model, const SheetGrid& grid, const MergeLookup& merges) {
    std::vector<uint64_t> keys;
    std::vector<BorderLine> borders;
    keys.reserve(model.cells.size() * 4);
    borders.reserve(model.cells.size() * 4);
    const auto add = [&](bool vertical, int32_t line, int32_t unit, const BorderLine& b) {
        if (b.style == BorderStyle::None) return;
        keys.push_back(EdgeKey(vertical, line, unit, b.style, borders.size()));
        borders.push_back(b);
    };
    for (const Cell& cell : model.cells) {
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
    SortKeys(keys);

    std::vector<RuledLine> lines;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const uint64_t k = keys[i];
        if (i + 1 < keys.size() && Place(keys[i + 1]) == Place(k)) continue;  // a heavier or later border takes it
        const BorderLine& b = borders[Index(k)];
        if (!lines.empty()) {
            RuledLine& last = lines.back();
            if (last.horizontal == !Vertical(k) && last.line == Line(k) && last.last + 1 == Unit(k) && last.border == b) {
                last.last = Unit(k);
                continue;
            }
        }
        lines.push_back({!Vertical(k), Line(k), Unit(k), Unit(k), b});
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
