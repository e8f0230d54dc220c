#include "workbook/xlsx_styles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "workbook/border_pens.h"
#include "workbook/sheet_number_format.h"
#include "workbook/workbook_limits.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

using xmlns::kSpreadsheetMl;

class ThemeReader : public XmlHandler {
public:
    std::vector<uint32_t> scheme;  // dk1, lt1, dk2, lt2, accents, links as written

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != xmlns::kDrawingMl) return;
        if (name == "clrScheme") inScheme_ = true;
        if (!inScheme_) return;
        if (name == "srgbClr") scheme.push_back(static_cast<uint32_t>(std::strtoul(std::string(a.value("", "val")).c_str(), nullptr, 16)));
        if (name == "sysClr") scheme.push_back(static_cast<uint32_t>(std::strtoul(std::string(a.value("", "lastClr")).c_str(), nullptr, 16)));
    }
    void end(std::string_view ns, std::string_view name) override {
        if (ns == xmlns::kDrawingMl && name == "clrScheme") throw StopXml{};
    }

private:
    bool inScheme_ = false;
};

double HueToRgb(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

struct Font {
    double points = 11;
    Script script = Script::None;
};

struct Fill {
    std::string pattern;
    std::optional<SheetColor> fg, bg;
};

struct Border {
    BorderLine left, right, top, bottom, diagonal;
    bool up = false, down = false;
};

BorderStyle StyleNamed(std::string_view s) {
    static const std::map<std::string_view, BorderStyle> kStyles{
        {"hair", BorderStyle::Hair},
        {"dotted", BorderStyle::Dotted},
        {"dashDotDot", BorderStyle::DashDotDot},
        {"dashDot", BorderStyle::DashDot},
        {"dashed", BorderStyle::Dashed},
        {"thin", BorderStyle::Thin},
        {"mediumDashDotDot", BorderStyle::MediumDashDotDot},
        {"slantDashDot", BorderStyle::SlantDashDot},
        {"mediumDashDot", BorderStyle::MediumDashDot},
        {"mediumDashed", BorderStyle::MediumDashed},
        {"medium", BorderStyle::Medium},
        {"thick", BorderStyle::Thick},
        {"double", BorderStyle::Double},
    };
    const auto it = kStyles.find(s);
    return it == kStyles.end() ? BorderStyle::None : it->second;
}

class StylesReader : public XmlHandler {
public:
    explicit StylesReader(const std::vector<uint32_t>& theme) : theme_(theme) {}

    void start(std::string_view ns, std::string_view name, const XmlAttributes& a, std::size_t) override {
        if (ns != kSpreadsheetMl) return;
        if (name == "numFmt") {
            codes[std::atoi(std::string(a.value("", "numFmtId")).c_str())] = std::string(a.value("", "formatCode"));
            CheckLimit(codes.size(), kMaxStyles, "number formats");
        } else if (name == "rgbColor") {
            indexed_.push_back(Rgb(a.value("", "rgb")));
        } else if (name == "font" && section_ == "fonts") {
            fonts.emplace_back();
            CheckLimit(fonts.size(), kMaxStyles, "fonts");
        } else if (name == "sz" && section_ == "fonts" && !fonts.empty()) {
            fonts.back().points = std::clamp(std::atof(std::string(a.value("", "val")).c_str()), 0.0, kMaxFontPoints);
        } else if (name == "vertAlign" && section_ == "fonts" && !fonts.empty()) {
            const std::string_view v = a.value("", "val");
            fonts.back().script = v == "superscript" ? Script::Super : v == "subscript" ? Script::Sub : Script::None;
        } else if (name == "fill" && section_ == "fills") {
            fills.emplace_back();
            CheckLimit(fills.size(), kMaxStyles, "fills");
        } else if (name == "patternFill" && section_ == "fills" && !fills.empty()) {
            fills.back().pattern = std::string(a.get("", "patternType").value_or("none"));
        } else if ((name == "fgColor" || name == "bgColor") && section_ == "fills" && !fills.empty()) {
            (name == "fgColor" ? fills.back().fg : fills.back().bg) = ColorOf(a);
        } else if (name == "border" && section_ == "borders") {
            borders.emplace_back();
            CheckLimit(borders.size(), kMaxStyles, "borders");
            borders.back().up = a.flag("", "diagonalUp");
            borders.back().down = a.flag("", "diagonalDown");
        } else if (section_ == "borders" && !borders.empty() && side(name)) {
            side_ = side(name);
            side_->style = StyleNamed(a.value("", "style"));
        } else if (name == "color" && side_) {
            if (const auto c = ColorOf(a)) side_->color = *c;
        } else if (name == "xf" && section_ == "cellXfs") {
            xfs.push_back({a.number("", "fontId"), a.number("", "fillId"), a.number("", "borderId"), a.number("", "numFmtId"),
                           {}, {}, 0});
            CheckLimit(xfs.size(), kMaxStyles, "cell formats");
        } else if (name == "alignment" && section_ == "cellXfs" && !xfs.empty()) {
            Xf& xf = xfs.back();
            xf.horizontal = a.value("", "horizontal");
            xf.vertical = a.value("", "vertical");
            xf.rotation = static_cast<int>(a.number("", "textRotation"));
        } else if (name == "fonts" || name == "fills" || name == "borders" || name == "cellXfs") {
            section_ = std::string(name);
        }
    }

    void end(std::string_view ns, std::string_view name) override {
        if (ns != kSpreadsheetMl) return;
        if (name == section_) section_.clear();
        if (side(name)) side_ = nullptr;
    }

    // What the part holds, by index as the cell formats refer to it.
    std::map<int, std::string> codes;
    std::vector<Font> fonts;
    std::vector<Fill> fills;
    std::vector<Border> borders;
    // A cell format (xf) as indices into the lists above, and its alignment.
    struct Xf {
        long fontId, fillId, borderId, numFmtId;
        std::string horizontal, vertical;
        int rotation = 0;
    };
    std::vector<Xf> xfs;

private:
    static uint32_t Rgb(std::string_view argb) {
        return static_cast<uint32_t>(std::strtoul(std::string(argb).c_str(), nullptr, 16)) & 0xFFFFFF;
    }

    BorderLine* side(std::string_view name) {
        if (borders.empty()) return nullptr;
        Border& b = borders.back();
        if (name == "left" || name == "start") return &b.left;
        if (name == "right" || name == "end") return &b.right;
        if (name == "top") return &b.top;
        if (name == "bottom") return &b.bottom;
        if (name == "diagonal") return &b.diagonal;
        return nullptr;
    }

    std::optional<SheetColor> ColorOf(const XmlAttributes& a) const {
        const double tint = std::atof(std::string(a.value("", "tint")).c_str());
        if (const auto rgb = a.get("", "rgb")) return SheetColor::Rgb(Tinted(Rgb(*rgb), tint));
        if (const auto theme = a.get("", "theme")) {
            const std::size_t i = static_cast<std::size_t>(std::atoi(std::string(*theme).c_str()));
            // Cells name light 1 before dark 1, the theme lists dark first.
            const std::size_t at = i < 4 ? (i ^ 1u) : i;
            if (at < theme_.size()) return SheetColor::Rgb(Tinted(theme_[at], tint));
            return SheetColor{};
        }
        if (const auto indexed = a.get("", "indexed")) {
            const int i = std::atoi(std::string(*indexed).c_str());
            if (i >= 0 && static_cast<std::size_t>(i) < indexed_.size()) return SheetColor::Rgb(indexed_[static_cast<std::size_t>(i)]);
            if (i >= 0 && i < 8) return SheetColor::Rgb(kSheetPalette[static_cast<std::size_t>(i)]);
            if (i >= 8 && i < 64) return SheetColor::Rgb(kSheetPalette[static_cast<std::size_t>(i - 8)]);
            return SheetColor{};  // 64, 65: the window's own colours
        }
        if (a.get("", "auto")) return SheetColor{};
        return std::nullopt;
    }

    const std::vector<uint32_t>& theme_;
    std::string section_;
    BorderLine* side_ = nullptr;
    std::vector<uint32_t> indexed_;
};

HAlign HorizontalNamed(std::string_view s) {
    if (s == "center" || s == "centerContinuous" || s == "distributed") return HAlign::Center;
    if (s == "right") return HAlign::Right;
    if (s == "left" || s == "fill" || s == "justify") return HAlign::Left;
    return HAlign::General;
}

VAlign VerticalNamed(std::string_view s) {
    if (s == "top") return VAlign::Top;
    if (s == "center" || s == "justify" || s == "distributed") return VAlign::Center;
    return VAlign::Bottom;
}

template <class T>
const T* At(const std::vector<T>& v, long i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? &v[static_cast<std::size_t>(i)] : nullptr;
}

}  // namespace

uint32_t Tinted(uint32_t rgb, double tint) {
    if (tint == 0 || !std::isfinite(tint)) return rgb;
    tint = std::clamp(tint, -1.0, 1.0);
    const double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0, b = (rgb & 0xFF) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double h = 0, s = 0, l = (mx + mn) / 2;
    if (mx > mn) {
        const double d = mx - mn;
        s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        h = mx == r ? (g - b) / d + (g < b ? 6 : 0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
        h /= 6;
    }
    l = tint < 0 ? l * (1 + tint) : l * (1 - tint) + tint;
    double r2 = l, g2 = l, b2 = l;
    if (s > 0) {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
        r2 = HueToRgb(p, q, h + 1.0 / 3);
        g2 = HueToRgb(p, q, h);
        b2 = HueToRgb(p, q, h - 1.0 / 3);
    }
    const auto byte = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return byte(r2) << 16 | byte(g2) << 8 | byte(b2);
}

std::vector<uint32_t> ReadThemeColors(const WorkbookPackage& package, const std::string& part) {
    ThemeReader reader;
    package.parse(part, reader);
    return reader.scheme;
}

void ReadXlsxStyles(const WorkbookPackage& package, const std::string& part, const std::vector<uint32_t>& theme,
                    SheetModel& model) {
    StylesReader r(theme);
    package.parse(part, r);
    model.formats.clear();
    model.numberFormats.assign(1, std::string());
    std::map<std::string, uint32_t> codeIndex{{std::string(), 0}};
    for (std::size_t i = 0; i < r.xfs.size(); ++i) {
        const auto& xf = r.xfs[i];
        CellFormat f;
        if (const Font* font = At(r.fonts, xf.fontId)) {
            f.fontPoints = font->points > 0 ? font->points : 11;
            f.script = font->script;
        }
        if (const Fill* fill = At(r.fills, xf.fillId)) {
            const std::optional<SheetColor>& c = fill->pattern == "solid" ? fill->fg : fill->bg;
            if (fill->pattern != "none" && c && !c->automatic) f.fill = c->rgb;
        }
        if (const Border* b = At(r.borders, xf.borderId)) {
            f.left = b->left;
            f.right = b->right;
            f.top = b->top;
            f.bottom = b->bottom;
            if (b->up) f.diagonalUp = b->diagonal;
            if (b->down) f.diagonalDown = b->diagonal;
        }
        f.hAlign = HorizontalNamed(xf.horizontal);
        f.vAlign = VerticalNamed(xf.vertical);
        const int rotation = xf.rotation;
        if (rotation == 255)
            f.verticalText = true;
        else if (rotation > 0 && rotation <= 90)
            f.rotation = static_cast<int16_t>(rotation);
        else if (rotation > 90 && rotation <= 180)
            f.rotation = static_cast<int16_t>(90 - rotation);
        const auto id = static_cast<int>(xf.numFmtId);
        const auto custom = r.codes.find(id);
        const std::string code = custom != r.codes.end() ? custom->second : std::string(BuiltinNumberFormat(static_cast<uint32_t>(id)));
        const auto [it, fresh] = codeIndex.try_emplace(code, static_cast<uint32_t>(model.numberFormats.size()));
        if (fresh) model.numberFormats.push_back(code);
        f.numberFormat = it->second;
        model.formats.push_back(f);
    }
    if (model.formats.empty()) model.formats.emplace_back();
}

}  // namespace tavo::workbook
