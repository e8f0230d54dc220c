#include "workbook/xlsx_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

#include "workbook/workbook_limits.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kDrawingMl;
using xmlns::kSpreadsheetDrawing;

constexpr double kEmuPerPoint = 12700;

// EMU as points; nothing for what is no number.
double Points(std::string_view emu) {
    const double v = std::atof(std::string(emu).c_str()) / kEmuPerPoint;
    return std::isfinite(v) ? v : 0;
}

// x -> x * scale + shift, from a group's child space to fractions of the anchor's box.
struct AxisMap {
    double scale = 1, shift = 0;
    double operator()(double v) const { return v * scale + shift; }
};

struct GroupMap {
    AxisMap x, y;
};

// Theme colours by their scheme names; tx1 and bg1 are dk1 and lt1.
std::optional<uint32_t> SchemeColor(std::string_view name, const std::vector<uint32_t>& theme) {
    static const std::map<std::string_view, std::size_t> kIndex{
        {"dk1", 0}, {"tx1", 0}, {"lt1", 1}, {"bg1", 1}, {"dk2", 2}, {"tx2", 2}, {"lt2", 3}, {"bg2", 3},
        {"accent1", 4}, {"accent2", 5}, {"accent3", 6}, {"accent4", 7}, {"accent5", 8}, {"accent6", 9},
        {"hlink", 10}, {"folHlink", 11}};
    const auto it = kIndex.find(name);
    if (it == kIndex.end() || it->second >= theme.size()) return std::nullopt;
    return theme[it->second];
}

// The preset colours DrawingML names that writers use for lines.
std::optional<uint32_t> PresetColor(std::string_view name) {
    static const std::map<std::string_view, uint32_t> kColors{
        {"black", 0x000000}, {"white", 0xFFFFFF}, {"red", 0xFF0000}, {"green", 0x008000}, {"blue", 0x0000FF},
        {"yellow", 0xFFFF00}, {"cyan", 0x00FFFF}, {"magenta", 0xFF00FF}, {"gray", 0x808080}, {"grey", 0x808080},
        {"darkGray", 0xA9A9A9}, {"lightGray", 0xD3D3D3}, {"orange", 0xFFA500}, {"navy", 0x000080},
        {"darkRed", 0x8B0000}, {"darkBlue", 0x00008B}, {"darkGreen", 0x006400}};
    const auto it = kColors.find(name);
    return it == kColors.end() ? std::nullopt : std::optional<uint32_t>(it->second);
}

// What one shape element (sp or cxnSp) says while it is read.
struct ShapeParts {
    SheetShape shape;
    std::string preset;
    bool textBox = false, hidden = false, control = false, custom = false;
    bool hasLine = false, lineNone = false, styleLine = false;
    std::optional<SheetColor> lineColor, styleColor;
    double lineWidth = 0.75;
    std::string dash = "solid";
    bool compound = false;
    std::optional<std::pair<double, double>> off, ext;  // xfrm, points
    std::vector<std::string> paragraphs;
    double pathW = 0, pathH = 0;
};

class DrawingReader : public XmlHandler {
public:
    DrawingReader(const std::vector<uint32_t>& theme, SheetModel& model) : theme_(theme), model_(model) {}

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns == xmlns::kMarkupCompatibility) {
            if (name == "Fallback") ++fallback_;
            return;
        }
        if (fallback_ > 0) return;
        if (ns == kSpreadsheetDrawing) drawingElement(name, a);
        else if (ns == kDrawingMl && shape_) shapeElement(name, a);
        else if (ns == kDrawingMl && name == "graphicData" && frame_) chart_ = a.value("", "uri").find("chart") != std::string_view::npos;
        else if (ns == kDrawingMl && inGroupProps_) groupElement(name, a);
        else if (shape_ && name == "compatExt") shape_->control = true;  // a form control drawn as a shape
    }

    void end(std::string_view ns, std::string_view name) override {
        if (ns == xmlns::kMarkupCompatibility && name == "Fallback" && fallback_ > 0) --fallback_;
        if (fallback_ > 0) return;
        if (ns == kSpreadsheetDrawing) {
            if (name == "sp" || name == "cxnSp") endShape();
            else if (name == "grpSp" && !groups_.empty()) groups_.pop_back();
            else if (name == "grpSpPr") inGroupProps_ = false;
            else if (name == "graphicFrame") endFrame();
            else if (name == "from" || name == "to") corner_ = nullptr;
            else if (name == "col" || name == "colOff" || name == "row" || name == "rowOff") endCornerValue(name);
            else if (name == "txBody") inText_ = false;
        } else if (ns == kDrawingMl && shape_) {
            if (name == "ln") inLine_ = false;
            else if (name == "lnRef") inStyleLine_ = false;
            else if (name == "t") inRun_ = false;
            else if (name == "xfrm") inXfrm_ = false;
        }
    }

    void text(std::string_view chars) override {
        if (corner_) value_ += chars;
        else if (shape_ && inRun_ && !shape_->paragraphs.empty()) shape_->paragraphs.back() += chars;
    }

private:
    void drawingElement(std::string_view name, const XmlAttributes& a) {
        if (name == "twoCellAnchor" || name == "oneCellAnchor" || name == "absoluteAnchor") {
            box_ = ShapeBox{};
            groups_.clear();
            absolute_.reset();
        } else if (name == "from") {
            corner_ = &box_.from;
        } else if (name == "to") {
            box_.to = SheetPoint{};
            corner_ = &*box_.to;
        } else if (name == "col" || name == "colOff" || name == "row" || name == "rowOff") {
            value_.clear();
        } else if (name == "ext" && !shape_) {
            box_.width = Points(a.value("", "cx"));
            box_.height = Points(a.value("", "cy"));
        } else if (name == "pos") {
            absolute_ = {Points(a.value("", "x")), Points(a.value("", "y"))};
        } else if (name == "sp" || name == "cxnSp") {
            shape_.emplace();
            shape_->shape.box = box_;
            if (name == "cxnSp") shape_->preset = "line";
        } else if (name == "cNvPr" && shape_) {
            shape_->hidden = a.flag("", "hidden");
        } else if (name == "cNvSpPr" && shape_) {
            shape_->textBox = a.flag("", "txBox");
        } else if (name == "txBody" && shape_) {
            inText_ = true;
        } else if (name == "pic") {
            ++model_.notDrawn.pictures;
        } else if (name == "graphicFrame") {
            frame_ = true;
            chart_ = false;
        } else if (name == "contentPart") {
            ++model_.notDrawn.shapes;
        } else if (name == "grpSp") {
            groups_.push_back(groups_.empty() ? GroupMap{} : groups_.back());
            pendingGroup_ = true;
        } else if (name == "grpSpPr") {
            inGroupProps_ = pendingGroup_;
            groupOff_ = groupExt_ = childOff_ = childExt_ = {0, 0};
        }
    }

    // The group's own place in its parent's child space and the space of
    // its children: xfrm off, ext, chOff, chExt.
    void groupElement(std::string_view name, const XmlAttributes& a) {
        const auto pair = [&](const char* x, const char* y) { return std::make_pair(Points(a.value("", x)), Points(a.value("", y))); };
        if (name == "off") groupOff_ = pair("x", "y");
        else if (name == "ext") groupExt_ = pair("cx", "cy");
        else if (name == "chOff") childOff_ = pair("x", "y");
        else if (name == "chExt") {
            childExt_ = pair("cx", "cy");
            pendingGroup_ = false;
            const bool top = groups_.size() == 1;
            GroupMap& g = groups_.back();
            const GroupMap parent = top ? GroupMap{} : groups_[groups_.size() - 2];
            // The top group fills the anchor's box; a nested one sits in its parent's child space.
            const auto axis = [top](const AxisMap& up, double off, double ext, double chOff, double chExt) {
                AxisMap m;
                const double parentFrom = top ? 0 : up(off), parentTo = top ? 1 : up(off + ext);
                m.scale = chExt > 0 ? (parentTo - parentFrom) / chExt : 0;
                m.shift = parentFrom - chOff * m.scale;
                return m;
            };
            g.x = axis(parent.x, groupOff_.first, groupExt_.first, childOff_.first, childExt_.first);
            g.y = axis(parent.y, groupOff_.second, groupExt_.second, childOff_.second, childExt_.second);
        }
    }

    void shapeElement(std::string_view name, const XmlAttributes& a) {
        ShapeParts& s = *shape_;
        if (inText_) {
            textElement(name, a);
        } else if (name == "xfrm") {
            inXfrm_ = true;
            s.shape.rotation = static_cast<double>(a.number("", "rot")) / 60000;
            s.shape.flipH = a.flag("", "flipH");
            s.shape.flipV = a.flag("", "flipV");
        } else if (name == "off" && inXfrm_) {
            s.off = {Points(a.value("", "x")), Points(a.value("", "y"))};
        } else if (name == "ext" && inXfrm_) {
            s.ext = {Points(a.value("", "cx")), Points(a.value("", "cy"))};
        } else if (name == "prstGeom") {
            s.preset = std::string(a.value("", "prst"));
        } else if (name == "gd" && a.value("", "name") == "adj") {
            const std::string_view f = a.value("", "fmla");
            if (f.compare(0, 4, "val ") == 0) s.shape.adjust = std::atof(std::string(f.substr(4)).c_str()) / 100000;
        } else if (name == "custGeom") {
            s.custom = true;
        } else if (name == "path" && s.custom) {
            s.pathW = static_cast<double>(a.number("", "w"));
            s.pathH = static_cast<double>(a.number("", "h"));
            s.shape.closed = false;
        } else if (name == "pt" && s.custom) {
            s.shape.points.emplace_back(static_cast<double>(a.number("", "x")), static_cast<double>(a.number("", "y")));
            CheckLimit(++points_, kMaxShapePoints, "points in the shapes' outlines");
        } else if (name == "close" && s.custom) {
            s.shape.closed = true;
        } else if (name == "ln") {
            inLine_ = s.hasLine = true;
            if (const auto w = a.get("", "w")) s.lineWidth = Points(*w);
            s.compound = a.value("", "cmpd") == "dbl";
        } else if (name == "noFill" && inLine_) {
            s.lineNone = true;
        } else if (inLine_ && (name == "srgbClr" || name == "schemeClr" || name == "prstClr" || name == "sysClr")) {
            s.lineColor = ColorOf(name, a);
        } else if (name == "prstDash" && inLine_) {
            s.dash = std::string(a.value("", "val"));
        } else if ((name == "headEnd" || name == "tailEnd") && inLine_) {
            const std::string_view type = a.value("", "type");
            (name == "headEnd" ? s.shape.headArrow : s.shape.tailArrow) = !type.empty() && type != "none";
            const std::string_view len = a.value("", "len");
            s.shape.arrowPoints = std::max(s.lineWidth, 1.0) * (len == "sm" ? 4 : len == "lg" ? 8 : 6);
        } else if (name == "lnRef") {
            inStyleLine_ = true;
            s.styleLine = a.number("", "idx") > 0;
        } else if (inStyleLine_ && (name == "srgbClr" || name == "schemeClr" || name == "prstClr" || name == "sysClr")) {
            s.styleColor = ColorOf(name, a);
        }
    }

    void textElement(std::string_view name, const XmlAttributes& a) {
        ShapeParts& s = *shape_;
        if (name == "bodyPr") {
            const std::string_view anchor = a.value("", "anchor");
            s.shape.textAnchor = anchor == "ctr" ? VAlign::Center : anchor == "b" ? VAlign::Bottom : VAlign::Top;
        } else if (name == "p") {
            s.paragraphs.emplace_back();
        } else if (name == "pPr") {
            const std::string_view algn = a.value("", "algn");
            if (!algn.empty()) s.shape.textAlign = algn == "ctr" ? HAlign::Center : algn == "r" ? HAlign::Right : HAlign::Left;
        } else if (name == "br" && !s.paragraphs.empty()) {
            s.paragraphs.back() += '\n';
        } else if (name == "t") {
            inRun_ = true;
        } else if ((name == "rPr" || name == "defRPr" || name == "endParaRPr") && a.get("", "sz")) {
            if (name == "rPr" || !fontFromRun_) s.shape.fontPoints = static_cast<double>(a.number("", "sz", 1100)) / 100;
            fontFromRun_ = fontFromRun_ || name == "rPr";
        }
    }

    std::optional<SheetColor> ColorOf(std::string_view kind, const XmlAttributes& a) const {
        std::optional<uint32_t> rgb;
        if (kind == "srgbClr") rgb = static_cast<uint32_t>(std::strtoul(std::string(a.value("", "val")).c_str(), nullptr, 16));
        else if (kind == "schemeClr") rgb = SchemeColor(a.value("", "val"), theme_);
        else if (kind == "prstClr") rgb = PresetColor(a.value("", "val"));
        else if (kind == "sysClr") rgb = static_cast<uint32_t>(std::strtoul(std::string(a.value("", "lastClr")).c_str(), nullptr, 16));
        return rgb ? std::optional<SheetColor>(SheetColor::Rgb(*rgb)) : std::nullopt;
    }

    void endCornerValue(std::string_view name) {
        if (!corner_) return;
        if (name == "col") corner_->col = std::clamp(std::atoi(value_.c_str()), 0, 16383);
        else if (name == "row") corner_->row = std::clamp(std::atoi(value_.c_str()), 0, 1048575);
        else if (name == "colOff") corner_->colOffset = Points(value_);
        else if (name == "rowOff") corner_->rowOffset = Points(value_);
    }

    void endFrame() {
        frame_ = false;
        if (chart_) ++model_.notDrawn.charts;
        else ++model_.notDrawn.shapes;
    }

    void endShape() {
        if (!shape_) return;
        ShapeParts s = std::move(*shape_);
        shape_.reset();
        fontFromRun_ = false;
        if (s.hidden) return;
        if (s.control) {
            ++model_.notDrawn.controls;
            return;
        }
        SheetShape& shape = s.shape;
        if (absolute_) {
            shape.box.from = {};
            shape.box.to.reset();
        }
        if (!groups_.empty() && s.off && s.ext) {
            const GroupMap& g = groups_.back();
            shape.box.inner = {g.x(s.off->first), g.y(s.off->second), g.x(s.off->first + s.ext->first),
                               g.y(s.off->second + s.ext->second)};
        }
        if (!Kind(s)) {
            ++model_.notDrawn.shapes;
            return;
        }
        const bool line = shape.kind == ShapeKind::Line || shape.kind == ShapeKind::Elbow;
        const bool outlined = s.hasLine ? !s.lineNone : s.styleLine && !s.textBox;
        if (outlined) {
            shape.outline.style = LineStyleOf(s.dash, s.lineWidth, s.compound);
            const std::optional<SheetColor>& c = s.hasLine && s.lineColor ? s.lineColor : s.styleColor;
            if (c) shape.outline.color = *c;
        } else if (line && !s.hasLine) {
            shape.outline.style = BorderStyle::Thin;
        }
        for (std::string& p : s.paragraphs) shape.text += (shape.text.empty() ? "" : "\n") + p;
        while (!shape.text.empty() && shape.text.back() == '\n') shape.text.pop_back();
        if (shape.outline.style == BorderStyle::None && shape.text.empty()) return;
        if (absolute_) PlaceAbsolute(shape);
        model_.shapes.push_back(std::move(shape));
        CheckLimit(model_.shapes.size(), kMaxShapes, "drawn shapes");
    }

    // Shapes of an absolute anchor hang from the sheet's corner, their size as given.
    void PlaceAbsolute(SheetShape& shape) const {
        shape.box.from.colOffset = absolute_->first;
        shape.box.from.rowOffset = absolute_->second;
        shape.box.from.walks = true;
    }

    // The shape's kind from its preset geometry; false for one without a drawing.
    static bool Kind(ShapeParts& s) {
        SheetShape& shape = s.shape;
        const std::string& p = s.preset;
        if (s.custom) {
            if (shape.points.size() < 2 || s.pathW <= 0 || s.pathH <= 0) return false;
            for (auto& [x, y] : shape.points) {
                x /= s.pathW;
                y /= s.pathH;
            }
            shape.kind = ShapeKind::Polygon;
            return true;
        }
        if (p == "line" || p == "straightConnector1" || p.compare(0, 15, "curvedConnector") == 0) {
            shape.kind = ShapeKind::Line;
        } else if (p == "bentConnector2") {
            shape.kind = ShapeKind::Polygon;
            shape.points = {{0, 0}, {1, 0}, {1, 1}};
            shape.closed = false;
        } else if (p.compare(0, 13, "bentConnector") == 0) {
            shape.kind = ShapeKind::Elbow;
        } else if (p == "rect" || p.empty() || s.textBox) {
            shape.kind = ShapeKind::Rect;
        } else if (p == "roundRect") {
            shape.kind = ShapeKind::RoundRect;
            if (shape.adjust == 0.5 && !s.custom) shape.adjust = 0.16667;
        } else if (p == "ellipse") {
            shape.kind = ShapeKind::Ellipse;
        } else if (p == "triangle") {
            shape.kind = ShapeKind::Polygon;
            shape.points = {{0.5, 0}, {1, 1}, {0, 1}};
        } else if (p == "rtTriangle") {
            shape.kind = ShapeKind::Polygon;
            shape.points = {{0, 0}, {1, 1}, {0, 1}};
        } else if (p == "diamond") {
            shape.kind = ShapeKind::Polygon;
            shape.points = {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
        } else {
            return false;
        }
        return true;
    }

    const std::vector<uint32_t>& theme_;
    SheetModel& model_;
    int fallback_ = 0;
    ShapeBox box_;
    std::optional<std::pair<double, double>> absolute_;
    SheetPoint* corner_ = nullptr;
    std::string value_;
    std::optional<ShapeParts> shape_;
    std::vector<GroupMap> groups_;
    bool pendingGroup_ = false, inGroupProps_ = false;
    std::pair<double, double> groupOff_, groupExt_, childOff_, childExt_;
    bool inXfrm_ = false, inLine_ = false, inStyleLine_ = false, inText_ = false, inRun_ = false;
    bool fontFromRun_ = false;
    bool frame_ = false, chart_ = false;
    std::size_t points_ = 0;  // of all outlines
};

}  // namespace

BorderStyle LineStyleOf(std::string_view dash, double widthPoints, bool compound) {
    if (compound) return BorderStyle::Double;
    const bool medium = widthPoints > 1.1;
    if (dash == "dot" || dash == "sysDot") return BorderStyle::Dotted;
    if (dash == "dash" || dash == "lgDash" || dash == "sysDash") return medium ? BorderStyle::MediumDashed : BorderStyle::Dashed;
    if (dash == "dashDot" || dash == "lgDashDot" || dash == "sysDashDot")
        return medium ? BorderStyle::MediumDashDot : BorderStyle::DashDot;
    if (dash == "lgDashDotDot" || dash == "sysDashDotDot")
        return medium ? BorderStyle::MediumDashDotDot : BorderStyle::DashDotDot;
    if (widthPoints < 0.4) return BorderStyle::Hair;
    return widthPoints > 2.1 ? BorderStyle::Thick : medium ? BorderStyle::Medium : BorderStyle::Thin;
}

void ReadXlsxDrawing(const WorkbookPackage& package, const std::string& part, const std::vector<uint32_t>& theme,
                     SheetModel& model) {
    DrawingReader reader(theme, model);
    package.parse(part, reader);
}

}  // namespace tavo::workbook
