#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/sheet_model.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

// Lengths of OpenDocument attributes ("2.258cm", "0.06pt", "1in") in points.
std::optional<double> OdsLengthPoints(std::string_view text);

// A border attribute ("0.74pt solid #000000") as one of the 13 styles, the
// way LibreOffice writes each of them; black is its default border colour
// and reads as automatic, since the format has no automatic border colour.
BorderLine OdsBorder(std::string_view text);

// The styles of an .ods file (styles.xml, then the automatic styles of
// content.xml), each a set of properties with a parent; cell styles become
// the model's formats on first use.
class OdsStyles {
public:
    // Feeds one element inside office:styles or office:automatic-styles.
    void start(std::string_view ns, std::string_view name, const XmlAttributes& attrs);
    void end(std::string_view ns, std::string_view name);

    // Format index of a cell style (its parents and the default style
    // included); the default format for "" or an unknown name.
    uint32_t cellFormat(const std::string& styleName, SheetModel& model);
    // A column's width or a row's height in points, if its style gives one.
    std::optional<double> columnWidth(const std::string& styleName) const;
    std::optional<double> rowHeight(const std::string& styleName) const;
    // The script of a text style (text:span), from its text position.
    Script textScript(const std::string& styleName) const;
    // The properties of a graphic style (a shape's stroke, its text's
    // alignment and size), its parents and the default included.
    std::map<std::string, std::string> graphicProperties(const std::string& styleName) const {
        return resolved(styleName, "graphic");
    }
    // The font size a text or paragraph style gives, its parents included.
    std::optional<double> fontPoints(const std::string& styleName, const std::string& family) const;
    // The border style a shape's stroke looks like: solid, or a named dash.
    BorderStyle strokeStyle(std::string_view stroke, const std::string& dashName, double widthPoints) const;

private:
    struct Style {
        std::string parent;
        std::map<std::string, std::string> props;  // by local attribute name
    };
    // Properties of a style with those of its parents and the default.
    std::map<std::string, std::string> resolved(const std::string& name, const std::string& family) const;
    const std::string* prop(const std::string& name, const std::string& family, const std::string& key) const;

    std::map<std::string, Style> styles_;  // keyed by family + ":" + name
    std::map<std::string, Style> defaults_;  // by family
    std::map<std::string, uint32_t> formats_;
    struct Dash {
        int dots1 = 0, dots2 = 0;
        bool dotted = false;  // only dots no longer than the line is wide
    };
    std::map<std::string, Dash> dashes_;  // draw:stroke-dash by name
    Style* current_ = nullptr;
};

}  // namespace tavo::workbook
