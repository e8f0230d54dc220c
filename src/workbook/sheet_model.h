#pragma once

#include <array>
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

// A place on the sheet: a cell's top-left corner and an offset from it in
// points, as drawing anchors give it. An offset stays inside its cell (a
// hidden cell takes it to nothing) unless it `walks` on over the next
// cells, as places measured from a far corner do.
struct SheetPoint {
    int32_t row = 0, col = 0;
    double rowOffset = 0, colOffset = 0;
    bool walks = false;
};

// Where a drawn shape lies: two corners that move and size with the cells,
// or one corner and a size in points. `inner` is the part of that box the
// shape takes, as fractions (left, top, right, bottom): all of it, or a
// member's place inside a group.
struct ShapeBox {
    SheetPoint from;
    std::optional<SheetPoint> to;
    double width = 0, height = 0;  // points, without `to`
    bool sizedFromEnd = false;     // `to` and the size, without `from`
    std::array<double, 4> inner{0, 0, 1, 1};
};

enum class ShapeKind : uint8_t {
    Line,       // corner to corner
    Elbow,      // a bent connector: across to `adjust` of the width, down, across
    Rect,
    RoundRect,  // corners rounded by `adjust` of the shorter side
    Ellipse,
    Polygon,    // `points`, fractions of the box
};

// A drawn shape (line, connector, rectangle, ellipse, text box...).
struct SheetShape {
    ShapeKind kind = ShapeKind::Rect;
    ShapeBox box;
    double rotation = 0;  // degrees, clockwise as the sheet shows it, about the box's centre
    bool flipH = false, flipV = false;
    BorderLine outline;   // style None: no outline
    bool headArrow = false, tailArrow = false;  // at a line's start or end
    double arrowPoints = 6;                      // an arrow head's length
    double adjust = 0.5;
    std::vector<std::pair<double, double>> points;
    bool closed = true;
    std::string text;  // lines apart by "\n"
    double fontPoints = 11;
    HAlign textAlign = HAlign::Left;
    VAlign textAnchor = VAlign::Top;
};

// What a sheet holds that the drawing leaves out.
struct NotDrawn {
    int pictures = 0;
    int charts = 0;
    int controls = 0;  // form controls and embedded objects
    int shapes = 0;    // shapes of kinds that have no drawing

    bool any() const { return pictures != 0 || charts != 0 || controls != 0 || shapes != 0; }
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
    // The visible sizes of indices [from, to) added up; a step a span.
    double sum(int32_t from, int32_t to) const;
    // Where a distance measured from index `from` ends: the index (below
    // `limit`) and what is left of the distance inside it.
    std::pair<int32_t, double> walk(int32_t from, double distance, int32_t limit) const;

private:
    struct Value {
        std::optional<double> points;
        bool hidden = false;
        bool operator==(const Value& o) const { return points == o.points && hidden == o.hidden; }
    };
    struct Span {
        int32_t first, last;
        Value value;
    };
    template <class Change>
    void apply(int32_t first, int32_t count, Change change);
    template <class Run>
    void stretches(int32_t from, int32_t limit, Run run) const;
    const Span* spanAt(int32_t index) const;
    double sizeOf(const Value& v) const;

    double default_;
    std::vector<Span> spans_;  // sorted, disjoint
};

struct SheetModel {
    std::string name;
    std::vector<CellFormat> formats{CellFormat{}};
    std::vector<std::string> numberFormats{std::string()};  // format codes; "" is General
    std::vector<RichText> texts;
    std::vector<Cell> cells;  // only cells that draw something, any order
    std::vector<CellRange> merges;
    std::vector<SheetShape> shapes;
    NotDrawn notDrawn;
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
