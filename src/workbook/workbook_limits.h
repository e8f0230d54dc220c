#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavo::workbook {

// What a workbook may hold before it is refused. A damaged file can say it
// holds anything; these keep any book of up to 10 MB to a couple of seconds
// and 256 MiB, and each is named in the message when reached. They lie far
// beyond what the spreadsheet itself makes.

// The file, its parts as the archive declares them unpacked, and their number.
constexpr std::size_t kMaxFileBytes = 256u << 20;
constexpr std::size_t kMaxPartBytes = 64u << 20;
constexpr std::size_t kMaxUnpackedBytes = 64u << 20;
constexpr std::size_t kMaxParts = 100000;

// A drawing taller than this many rows, or with more cells than
// kMaxDrawnCells, is refused: such a sheet is formatted far beyond its
// contents, and its drawing would not fit any paper.
constexpr int32_t kMaxDrawnRows = 65536;
constexpr std::size_t kMaxDrawnCells = 500000;

// Shared strings, and the bytes of one text (the spreadsheet keeps 32,767
// characters in a cell).
constexpr std::size_t kMaxStrings = 1000000;
constexpr std::size_t kMaxTextBytes = 1u << 20;

// Cell formats, fonts, fills, borders and number formats, each (the
// spreadsheet keeps 64,000 cell formats).
constexpr std::size_t kMaxStyles = 65536;

// Merged areas; the cells of the areas, and areas larger than 4,096 cells.
constexpr std::size_t kMaxMerges = 100000;
constexpr std::size_t kMaxMergedCells = 4000000;
constexpr std::size_t kMaxLargeMerges = 1024;
constexpr int64_t kLargeMergeCells = 4096;

// Drawn shapes, and the points of their outlines in all.
constexpr std::size_t kMaxShapes = 10000;
constexpr std::size_t kMaxShapePoints = 100000;

// Sizes as the spreadsheet allows them: row heights, column widths and font
// sizes in points.
constexpr double kMaxRowPoints = 409.5;
constexpr double kMaxColumnPoints = 1790;  // 255 characters
constexpr double kMaxFontPoints = 409;

// Thrown when a part goes past one of the limits; the reader of the part
// names the file and the part.
struct LimitReached {
    std::string what;  // "more than 65,536 cell formats"
};

// "65,536": a limit as the messages show it.
std::string LimitText(std::size_t n);

// Throws LimitReached when `count` has gone past `limit` things named `what`.
inline void CheckLimit(std::size_t count, std::size_t limit, const char* what) {
    if (count > limit) throw LimitReached{"more than " + LimitText(limit) + " " + what};
}

}  // namespace tavo::workbook
