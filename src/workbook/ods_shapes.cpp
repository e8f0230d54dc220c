#include "workbook/ods_shapes.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "base/geometry.h"
#include "workbook/cell_address.h"
#include "workbook/workbook_limits.h"

namespace tavo::workbook {

namespace {

using xmlns::kOdfDraw;
using xmlns::kOdfSvg;
using xmlns::kOdfText;
using xmlns::kOdfTable;


double Length(const XmlAttributes& a, std::string_view ns, std::string_view name) {
    return OdsLengthPoints(a.value(ns, name)).value_or(0);
}

// "rotate (0.52) translate (1in 2in)": the angle (radians, counter-clockwise)
// and the translation in points.
bool ParseTransform(std::string_view t, double& angle, double& x, double& y) {
    const std::size_t r = t.find("rotate");
    const std::size_t tr = t.find("translate");
    if (r == std::string_view::npos || tr == std::string_view::npos) return false;
    angle = std::atof(std::string(t.substr(t.find('(', r) + 1)).c_str());
    if (!std::isfinite(angle)) return false;
    std::istringstream in{std::string(t.substr(t.find('(', tr) + 1))};
    std::string a, b;
    in >> a >> b;
    if (!b.empty() && b.back() == ')') b.pop_back();
    x = OdsLengthPoints(a).value_or(0);
    y = OdsLengthPoints(b).value_or(0);
    return true;
}

// The kinds of draw:enhanced-geometry that have a drawing, LibreOffice's
// names and the OOXML presets it keeps.
bool CustomKind(std::string_view type, SheetShape& s) {
    if (type.compare(0, 6, "ooxml-") == 0) type.remove_prefix(6);
    if (type == "rectangle" || type == "rect" || type == "flowchart-process") {
        s.kind = ShapeKind::Rect;
    } else if (type == "round-rectangle" || type == "roundRect") {
        s.kind = ShapeKind::RoundRect;
        s.adjust = 0.16667;
    } else if (type == "ellipse" || type == "circle") {
        s.kind = ShapeKind::Ellipse;
    } else if (type == "isosceles-triangle" || type == "triangle") {
        s.kind = ShapeKind::Polygon;
        s.points = {{0.5, 0}, {1, 1}, {0, 1}};
    } else if (type == "right-triangle" || type == "rtTriangle") {
        s.kind = ShapeKind::Polygon;
        s.points = {{0, 0}, {1, 1}, {0, 1}};
    } else if (type == "diamond") {
        s.kind = ShapeKind::Polygon;
        s.points = {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
    } else if (type == "line" || type == "straightConnector1") {
        s.kind = ShapeKind::Line;
    } else {
        return false;
    }
    return true;
}

// Where a shape anchored to cells ends: table:end-cell-address ("Sheet1.F4",
// "'My sheet'.F4") and the offsets end-x and end-y.
std::optional<SheetPoint> EndPoint(const XmlAttributes& a) {
    const std::string_view address = a.value(kOdfTable, "end-cell-address");
    const std::size_t dot = address.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const auto cell = ParseCellAddress(address.substr(dot + 1));
    if (!cell) return std::nullopt;
    return SheetPoint{cell->first, cell->second, Length(a, kOdfTable, "end-y"), Length(a, kOdfTable, "end-x"), true};
}

}  // namespace

void OdsShapeReader::start(std::string_view ns, std::string_view name, const XmlAttributes& a, int32_t row,
                           int32_t col) {
    if (depth_ > 0) {
        ++depth_;
        if (ns == kOdfText && (name == "p" || name == "h" || name == "span")) {
            // The size of the text's own style wins over the shape's.
            const auto size = styles_.fontPoints(std::string(a.value(kOdfText, "style-name")), name == "span" ? "text" : "paragraph");
            if (size && !textSized_) shape_->fontPoints = *size;
            textSized_ = textSized_ || (size && name == "span");
        }
        if (ns == kOdfText && (name == "p" || name == "h")) {
            if (paragraphs_++ > 0) shape_->text += '\n';
            inParagraph_ = true;
        } else if (ns == kOdfText && name == "line-break") {
            shape_->text += '\n';
        } else if (ns == kOdfText && name == "s") {
            shape_->text += std::string(static_cast<std::size_t>(std::clamp(a.number(kOdfText, "c", 1), 1L, 100L)), ' ');
        } else if (ns == kOdfDraw && name == "enhanced-geometry") {
            drawable_ = CustomKind(a.value(kOdfDraw, "type"), *shape_);
            shape_->flipH = shape_->flipH != a.flag(kOdfDraw, "mirror-horizontal");
            shape_->flipV = shape_->flipV != a.flag(kOdfDraw, "mirror-vertical");
        } else if (ns == kOdfDraw && frameKind_.empty() &&
                   (name == "text-box" || name == "image" || name == "object" || name == "object-ole" ||
                    name == "plugin" || name == "applet")) {
            frameKind_ = std::string(name);
        }
        return;
    }
    if (ns != kOdfDraw) return;
    if (name == "g") {
        ++groups_;  // its members carry their own places
    } else if (name == "control") {
        ++model_.notDrawn.controls;
    } else if (name == "line" || name == "connector" || name == "rect" || name == "ellipse" || name == "circle" ||
               name == "custom-shape" || name == "polyline" || name == "polygon" || name == "frame" ||
               name == "path" || name == "measure" || name == "caption" || name == "regular-polygon") {
        startShape(name, a, row, col);
    }
}

void OdsShapeReader::startShape(std::string_view name, const XmlAttributes& a, int32_t row, int32_t col) {
    depth_ = 1;
    paragraphs_ = 0;
    textSized_ = false;
    inParagraph_ = false;
    frameKind_ = name == "frame" ? "" : "shape";
    shape_.emplace();
    SheetShape& s = *shape_;
    s.box.from = {row, col, 0, 0, true};
    drawable_ = true;
    if (name == "line" || name == "connector") {
        const double x1 = Length(a, kOdfSvg, "x1"), y1 = Length(a, kOdfSvg, "y1");
        const double x2 = Length(a, kOdfSvg, "x2"), y2 = Length(a, kOdfSvg, "y2");
        s.kind = name == "connector" && a.value(kOdfDraw, "type") == "standard" ? ShapeKind::Elbow : ShapeKind::Line;
        s.box.from.colOffset = std::min(x1, x2);
        s.box.from.rowOffset = std::min(y1, y2);
        s.box.width = std::fabs(x2 - x1);
        s.box.height = std::fabs(y2 - y1);
        s.flipH = x2 < x1;
        s.flipV = y2 < y1;
    } else {
        s.box.from.colOffset = Length(a, kOdfSvg, "x");
        s.box.from.rowOffset = Length(a, kOdfSvg, "y");
        s.box.width = Length(a, kOdfSvg, "width");
        s.box.height = Length(a, kOdfSvg, "height");
        double angle = 0, tx = 0, ty = 0;
        const auto end = EndPoint(a);
        if (ParseTransform(a.value(kOdfDraw, "transform"), angle, tx, ty)) {
            // The box turned about its top-left corner, then moved: its centre
            // is where the turned centre lands.
            const double c = std::cos(angle), sn = std::sin(angle);
            const double hx = s.box.width / 2, hy = s.box.height / 2;
            const double cx = tx + hx * c + hy * sn, cy = ty - hx * sn + hy * c;
            s.box.from.colOffset = cx - hx;
            s.box.from.rowOffset = cy - hy;
            s.rotation = -angle * 180 / kPi;
        } else if (end) {
            // LibreOffice places a cell's shape by where it ends; its svg:x and
            // svg:y are not always from the cell it is written in.
            s.box.to = *end;
            s.box.sizedFromEnd = true;
        }
        if (name == "rect") {
            s.kind = ShapeKind::Rect;
        } else if (name == "ellipse" || name == "circle") {
            s.kind = ShapeKind::Ellipse;
            drawable_ = a.value(kOdfDraw, "kind").empty() || a.value(kOdfDraw, "kind") == "full";  // not the arcs and sections
        } else if (name == "polyline" || name == "polygon") {
            s.kind = ShapeKind::Polygon;
            s.closed = name == "polygon";
            std::istringstream box{std::string(a.value(kOdfSvg, "viewBox"))};
            double vx = 0, vy = 0, vw = 0, vh = 0;
            box >> vx >> vy >> vw >> vh;
            std::istringstream pts{std::string(a.value(kOdfDraw, "points"))};
            for (std::string p; pts >> p;) {
                const std::size_t comma = p.find(',');
                if (comma == std::string::npos || vw <= 0 || vh <= 0) continue;
                s.points.emplace_back((std::atof(p.substr(0, comma).c_str()) - vx) / vw,
                                      (std::atof(p.substr(comma + 1).c_str()) - vy) / vh);
                CheckLimit(++points_, kMaxShapePoints, "points in the shapes' outlines");
            }
            drawable_ = s.points.size() >= 2;
        } else if (name != "frame") {
            drawable_ = false;  // a custom shape until its geometry says; paths, captions, measures
        }
    }
    const auto props = styles_.graphicProperties(std::string(a.value(kOdfDraw, "style-name")));
    const auto get = [&props](const char* key) -> std::string_view {
        const auto it = props.find(key);
        return it == props.end() ? std::string_view() : std::string_view(it->second);
    };
    const std::string_view stroke = get("stroke");
    const bool frame = name == "frame";
    if (stroke != "none" && !(frame && stroke.empty())) {
        const double width = OdsLengthPoints(get("stroke-width")).value_or(0);
        s.outline.style = styles_.strokeStyle(stroke, std::string(get("stroke-dash")), width);
        if (const std::string_view c = get("stroke-color"); c.size() == 7 && c[0] == '#') {
            const uint32_t rgb = static_cast<uint32_t>(std::strtoul(std::string(c.substr(1)).c_str(), nullptr, 16));
            s.outline.color = SheetColor::Rgb(rgb);
        }
    }
    s.headArrow = !get("marker-start").empty();
    s.tailArrow = !get("marker-end").empty();
    if (const auto w = OdsLengthPoints(get("marker-end-width"))) s.arrowPoints = *w;
    if (const auto size = OdsLengthPoints(get("font-size")); size && *size > 0) s.fontPoints = *size;
    const std::string_view v = get("textarea-vertical-align");
    s.textAnchor = v == "middle" ? VAlign::Center : v == "bottom" ? VAlign::Bottom : VAlign::Top;
    const std::string_view h = get("text-align");
    s.textAlign = h == "center" ? HAlign::Center : h == "end" || h == "right" ? HAlign::Right : HAlign::Left;
}

void OdsShapeReader::end(std::string_view ns, std::string_view name) {
    if (depth_ == 0) {
        if (ns == kOdfDraw && name == "g" && groups_ > 0) --groups_;
        return;
    }
    if (ns == kOdfText && (name == "p" || name == "h")) inParagraph_ = false;
    if (--depth_ == 0) finish();
}

void OdsShapeReader::text(std::string_view chars) {
    if (depth_ > 0 && inParagraph_) shape_->text += chars;
}

void OdsShapeReader::finish() {
    SheetShape s = std::move(*shape_);
    shape_.reset();
    if (frameKind_ == "image") {
        ++model_.notDrawn.pictures;
        return;
    }
    if (frameKind_ == "object") {
        ++model_.notDrawn.charts;
        return;
    }
    if (frameKind_ == "object-ole" || frameKind_ == "plugin" || frameKind_ == "applet") {
        ++model_.notDrawn.controls;
        return;
    }
    if (frameKind_ == "text-box") {
        s.kind = ShapeKind::Rect;
        drawable_ = true;
    }
    while (!s.text.empty() && (s.text.back() == '\n' || s.text.back() == ' ')) s.text.pop_back();
    if (!drawable_) {
        ++model_.notDrawn.shapes;
        return;
    }
    if (s.outline.style == BorderStyle::None && s.text.empty()) return;
    model_.shapes.push_back(std::move(s));
    CheckLimit(model_.shapes.size(), kMaxShapes, "drawn shapes");
}

}  // namespace tavo::workbook
