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

// A border attribute ("0.06pt solid #000000") as one of the 13 styles.
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
    Style* current_ = nullptr;
};

}  // namespace tavo::workbook
