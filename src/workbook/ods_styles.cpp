#include "workbook/ods_styles.h"
#include "workbook/workbook_limits.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace tavo::workbook {

namespace {

using xmlns::kOdfStyle;
using xmlns::kOdfDraw;


std::vector<std::string> Words(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::optional<uint32_t> HexColor(std::string_view t) {
    if (t.size() != 7 || t[0] != '#') return std::nullopt;
    char* end = nullptr;
    const std::string digits(t.substr(1));
    const unsigned long v = std::strtoul(digits.c_str(), &end, 16);
    if (end != digits.c_str() + digits.size()) return std::nullopt;  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): end of the digits
    return static_cast<uint32_t>(v);
}

}  // namespace

std::optional<double> OdsLengthPoints(std::string_view text) {
    const std::string t(text);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(v)) return std::nullopt;
    const std::string unit(end);
    if (unit == "pt") return v;
    if (unit == "cm") return v * 72 / 2.54;
    if (unit == "mm") return v * 72 / 25.4;
    if (unit == "in" || unit == "inch") return v * 72;
    if (unit == "pc") return v * 12;
    if (unit == "px") return v * 0.75;
    return std::nullopt;
}

BorderLine OdsBorder(std::string_view text) {
    BorderLine b;
    double width = 0.75;
    std::string style;
    for (const std::string& w : Words(text)) {
        if (const auto c = HexColor(w))
            b.color = SheetColor::Rgb(*c);
        else if (const auto len = OdsLengthPoints(w))
            width = *len;
        else
            style = w;
    }
    const bool medium = width > 1.1;
    if (style == "solid")
        b.style = width > 2.1 ? BorderStyle::Thick : medium ? BorderStyle::Medium : width < 0.4 ? BorderStyle::Hair : BorderStyle::Thin;
    else if (style == "dotted") b.style = BorderStyle::Dotted;
    else if (style == "fine-dashed") b.style = medium ? BorderStyle::SlantDashDot : BorderStyle::Dashed;
    else if (style == "dashed" || style == "dash") b.style = medium ? BorderStyle::MediumDashed : BorderStyle::Dashed;
    else if (style == "dot-dash" || style == "dash-dot") b.style = medium ? BorderStyle::MediumDashDot : BorderStyle::DashDot;
    else if (style == "dot-dot-dash" || style == "dash-dot-dot")
        b.style = medium ? BorderStyle::MediumDashDotDot : BorderStyle::DashDotDot;
    else if (style == "double" || style == "double-thin") b.style = BorderStyle::Double;
    if (width <= 0) b.style = BorderStyle::None;
    if (!b.color.automatic && b.color.rgb == 0) b.color = SheetColor{};
    return b;
}

void OdsStyles::start(std::string_view ns, std::string_view name, const XmlAttributes& a) {
    if (ns == kOdfDraw && name == "stroke-dash") {
        Dash& d = dashes_[std::string(a.value(kOdfDraw, "name"))];
        d.dots1 = static_cast<int>(a.number(kOdfDraw, "dots1"));
        d.dots2 = static_cast<int>(a.number(kOdfDraw, "dots2"));
        // Dots given as a share of the line's width, or none at all, are points.
        const std::string_view len = a.value(kOdfDraw, "dots1-length");
        d.dotted = d.dots2 == 0 && (len.empty() || (len.back() == '%' ? std::atof(std::string(len).c_str()) <= 200
                                                                           : OdsLengthPoints(len).value_or(0) < 1.5));
        return;
    }
    if (ns != kOdfStyle) return;
    if (name == "style") {
        const std::string family(a.value(kOdfStyle, "family"));
        Style& s = styles_[family + ":" + std::string(a.value(kOdfStyle, "name"))];
        CheckLimit(styles_.size(), kMaxStyles, "styles");
        s = Style{};
        s.parent = a.value(kOdfStyle, "parent-style-name");
        current_ = &s;
    } else if (name == "default-style") {
        current_ = &defaults_[std::string(a.value(kOdfStyle, "family"))];
    } else if (current_ && name.size() > 11 && name.compare(name.size() - 11, 11, "-properties") == 0) {
        for (const XmlAttribute& attr : a.list) current_->props[std::string(attr.name)] = attr.value;
    }
}

void OdsStyles::end(std::string_view ns, std::string_view name) {
    if (ns == kOdfStyle && (name == "style" || name == "default-style")) current_ = nullptr;
}

std::map<std::string, std::string> OdsStyles::resolved(const std::string& name, const std::string& family) const {
    std::vector<const Style*> chain;
    std::string at = name;
    for (int depth = 0; depth < 32 && !at.empty(); ++depth) {  // a loop of parents ends here too
        std::string key = family;
        key += ':';
        key += at;
        const auto it = styles_.find(key);
        if (it == styles_.end()) break;
        chain.push_back(&it->second);
        at = it->second.parent;
    }
    std::map<std::string, std::string> props;
    if (const auto d = defaults_.find(family); d != defaults_.end()) props = d->second.props;
    if (const auto def = styles_.find(family + ":Default"); def != styles_.end() && name != "Default")
        for (const auto& [k, v] : def->second.props) props[k] = v;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const auto& [k, v] : (*it)->props) props[k] = v;
    return props;
}

const std::string* OdsStyles::prop(const std::string& name, const std::string& family, const std::string& key) const {
    const auto it = styles_.find(family + ":" + name);
    if (it == styles_.end()) return nullptr;
    const auto p = it->second.props.find(key);
    return p == it->second.props.end() ? nullptr : &p->second;
}

uint32_t OdsStyles::cellFormat(const std::string& styleName, SheetModel& model) {
    if (const auto it = formats_.find(styleName); it != formats_.end()) return it->second;
    // A name no style has is the default; only styles there are make formats.
    if (!styleName.empty() && styles_.count("table-cell:" + styleName) == 0) return cellFormat("", model);
    const auto p = resolved(styleName, "table-cell");
    const auto get = [&p](const char* key) -> std::string_view {
        const auto it = p.find(key);
        return it == p.end() ? std::string_view() : std::string_view(it->second);
    };
    CellFormat f;
    const BorderLine all = OdsBorder(get("border"));
    f.left = f.right = f.top = f.bottom = all;
    if (!get("border-left").empty()) f.left = OdsBorder(get("border-left"));
    if (!get("border-right").empty()) f.right = OdsBorder(get("border-right"));
    if (!get("border-top").empty()) f.top = OdsBorder(get("border-top"));
    if (!get("border-bottom").empty()) f.bottom = OdsBorder(get("border-bottom"));
    f.diagonalUp = OdsBorder(get("diagonal-bl-tr"));
    f.diagonalDown = OdsBorder(get("diagonal-tl-br"));
    if (const auto c = HexColor(get("background-color"))) f.fill = *c;
    std::string_view size = get("font-size");
    if (size.empty() || size.back() == '%') size = get("font-size-asian");
    if (const auto pt = OdsLengthPoints(size); pt && *pt > 0) f.fontPoints = std::min(*pt, kMaxFontPoints);
    const std::string_view align = get("text-align");
    if (get("text-align-source") != "value-type" && !align.empty())
        f.hAlign = align == "center" ? HAlign::Center : align == "end" || align == "right" ? HAlign::Right : HAlign::Left;
    const std::string_view v = get("vertical-align");
    f.vAlign = v == "top" ? VAlign::Top : v == "middle" ? VAlign::Center : VAlign::Bottom;
    if (get("direction") == "ttb") {
        f.verticalText = true;
    } else if (!get("rotation-angle").empty()) {
        double angle = std::fmod(std::atof(std::string(get("rotation-angle")).c_str()), 360.0);
        if (angle > 180) angle -= 360;
        if (angle < -180) angle += 360;
        if (angle > 90) angle -= 180;
        if (angle < -90) angle += 180;
        f.rotation = static_cast<int16_t>(std::lround(angle));
    }
    const std::string_view position = get("text-position");
    if (position.compare(0, 5, "super") == 0 || (!position.empty() && std::atof(std::string(position).c_str()) > 0))
        f.script = Script::Super;
    else if (position.compare(0, 3, "sub") == 0 || std::atof(std::string(position).c_str()) < 0)
        f.script = Script::Sub;
    model.formats.push_back(f);
    const auto index = static_cast<uint32_t>(model.formats.size() - 1);
    formats_.emplace(styleName, index);
    return index;
}

std::optional<double> OdsStyles::columnWidth(const std::string& styleName) const {
    const std::string* w = prop(styleName, "table-column", "column-width");
    return w ? OdsLengthPoints(*w) : std::nullopt;
}

std::optional<double> OdsStyles::rowHeight(const std::string& styleName) const {
    const std::string* h = prop(styleName, "table-row", "row-height");
    return h ? OdsLengthPoints(*h) : std::nullopt;
}

std::optional<double> OdsStyles::fontPoints(const std::string& styleName, const std::string& family) const {
    if (styleName.empty()) return std::nullopt;
    const auto props = resolved(styleName, family);
    const auto it = props.find("font-size");
    if (it == props.end()) return std::nullopt;
    const auto pt = OdsLengthPoints(it->second);
    return pt && *pt > 0 ? pt : std::nullopt;
}

BorderStyle OdsStyles::strokeStyle(std::string_view stroke, const std::string& dashName, double widthPoints) const {
    const bool medium = widthPoints > 1.1;
    if (stroke == "dash") {
        const auto it = dashes_.find(dashName);
        const Dash d = it == dashes_.end() ? Dash{} : it->second;
        if (d.dotted) return BorderStyle::Dotted;
        const int dots = d.dots1 + d.dots2;
        if (d.dots2 > 0 && dots >= 3) return medium ? BorderStyle::MediumDashDotDot : BorderStyle::DashDotDot;
        if (d.dots2 > 0) return medium ? BorderStyle::MediumDashDot : BorderStyle::DashDot;
        return medium ? BorderStyle::MediumDashed : BorderStyle::Dashed;
    }
    if (widthPoints < 0.4 && widthPoints > 0) return BorderStyle::Hair;
    return widthPoints > 2.1 ? BorderStyle::Thick : medium ? BorderStyle::Medium : BorderStyle::Thin;
}

Script OdsStyles::textScript(const std::string& styleName) const {
    const std::string* p = prop(styleName, "text", "text-position");
    if (!p || p->empty()) return Script::None;
    if (p->compare(0, 5, "super") == 0) return Script::Super;
    if (p->compare(0, 3, "sub") == 0) return Script::Sub;
    const double v = std::atof(p->c_str());
    return v > 0 ? Script::Super : v < 0 ? Script::Sub : Script::None;
}

}  // namespace tavo::workbook
