#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavo::workbook {

// Progress of a long step, 0 to 1.
using ProgressFn = std::function<void(double)>;

// One worksheet as the drawing needs it, whichever file it came from: the
// formats, the cells that draw something, the column widths and row heights
// in points, hidden rows and columns, and merged areas. Texts are UTF-8.

enum class HAlign : uint8_t { General, Left, Center, Right };
enum class VAlign : uint8_t { Bottom, Center, Top };
enum class Script : uint8_t { None, Super, Sub };

// Border styles in the order of the settings dialog's line-type page:
// 1 hair (fine dotted) ... 13 double; 0 is no border.
enum class BorderStyle : uint8_t {
    None = 0,
    Hair,
    Dotted,
    DashDotDot,
    DashDot,
    Dashed,
    Thin,
    MediumDashDotDot,
    SlantDashDot,
    MediumDashDot,
    MediumDashed,
    Medium,
    Thick,
    Double,
};

// A colour as the sheet gives it; `automatic` is the sheet's own default
// (the window text colour for borders).
struct SheetColor {
    bool automatic = true;
    uint32_t rgb = 0;  // 0xRRGGBB

    static SheetColor Rgb(uint32_t rgb) { return {false, rgb & 0xFFFFFF}; }
    bool operator==(const SheetColor& o) const { return automatic == o.automatic && (automatic || rgb == o.rgb); }
    bool operator!=(const SheetColor& o) const { return !(*this == o); }
};

struct BorderLine {
    BorderStyle style = BorderStyle::None;
    SheetColor color;
    bool operator==(const BorderLine& o) const { return style == o.style && color == o.color; }
    bool operator!=(const BorderLine& o) const { return !(*this == o); }
};

struct CellFormat {
    BorderLine left, right, top, bottom;
    BorderLine diagonalUp;    // bottom-left to top-right
    BorderLine diagonalDown;  // top-left to bottom-right
    std::optional<uint32_t> fill;  // background, 0xRRGGBB
    double fontPoints = 11;
    Script script = Script::None;  // the whole cell's text
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Bottom;
    bool verticalText = false;  // characters stacked top to bottom
    int16_t rotation = 0;       // degrees counter-clockwise, -90..90
    uint32_t numberFormat = 0;  // index into SheetModel::numberFormats

    bool hasBorder() const;
};

// A run of a text in superscript or subscript: bytes [begin, end).
struct ScriptRun {
    uint32_t begin = 0, end = 0;
    Script script = Script::None;
};

struct RichText {
    std::string text;
    std::vector<ScriptRun> runs;  // only the raised and lowered runs
};

enum class CellKind : uint8_t { Empty, Text, Number, Boolean };

constexpr uint32_t kNoText = UINT32_MAX;

struct Cell {
    int32_t row = 0, col = 0;  // 0-based
    uint32_t format = 0;
    CellKind kind = CellKind::Empty;
    uint32_t text = kNoText;  // the text, or a number's displayed text when the file has it
    double number = 0;        // Number: the value; Boolean: 0 or 1
};

struct CellRange {
    int32_t firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0;  // inclusive

    bool contains(int32_t row, int32_t col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
};

// Sizes and hidden flags along one axis, kept as spans of equal values so
// that a million rows of the same height take one entry.
class AxisSizes {
public:
    explicit AxisSizes(double defaultPoints) : default_(defaultPoints) {}

    // Set before any size: a size equal to the default takes no span.
    void setDefault(double points) { default_ = points; }
    void setSize(int32_t first, int32_t count, double points);
    void setHidden(int32_t first, int32_t count, bool hidden);

    // Size in points, 0 for a hidden index.
    double visibleSize(int32_t index) const;
    std::size_t spanCount() const { return spans_.size(); }

private:
    struct Value {
        std::optional<double> points;
        bool hidden = false;
        bool operator==(const Value& o) const { return points == o.points && hidden == o.hidden; }
    };
    struct Span {
        int32_t last;
        Value value;
    };
    template <class Change>
    void apply(int32_t first, int32_t count, Change change);
    Value valueAt(int32_t index) const;

    double default_;
    std::map<int32_t, Span> spans_;  // keyed by first index; disjoint
};

struct SheetModel {
    std::string name;
    std::vector<CellFormat> formats{CellFormat{}};
    std::vector<std::string> numberFormats{std::string()};  // format codes; "" is General
    std::vector<RichText> texts;
    std::vector<Cell> cells;  // only cells that draw something, any order
    std::vector<CellRange> merges;
    AxisSizes columns{48};
    AxisSizes rows{15};
    // A merged area takes its borders from its first cell (.ods), not from
    // the cells along its edges (.xlsx).
    bool mergeBordersFromAnchor = false;
    // Serial day 0 of the sheet's date numbers, as days since 1899-12-30.
    int32_t dateOrigin = 0;

    uint32_t addText(RichText t) {
        texts.push_back(std::move(t));
        return static_cast<uint32_t>(texts.size() - 1);
    }
};

}  // namespace tavo::workbook
