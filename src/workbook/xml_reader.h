#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::workbook {

// Element events of an XML part, read with liborcus's namespace-aware SAX
// parser. Namespaces are given as their URIs.
struct XmlAttribute {
    std::string_view ns;
    std::string_view name;
    std::string value;
};

class XmlAttributes {
public:
    std::vector<XmlAttribute> list;

    // The value of the attribute `name` in namespace `ns` ("" for none).
    std::optional<std::string_view> get(std::string_view ns, std::string_view name) const;
    std::string_view value(std::string_view ns, std::string_view name) const {
        return get(ns, name).value_or(std::string_view());
    }
};

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // `offset`: where the element starts in the part, for progress.
    virtual void start(std::string_view ns, std::string_view name, const XmlAttributes& attrs, std::size_t offset) = 0;
    virtual void end(std::string_view ns, std::string_view name) { (void)ns, (void)name; }
    virtual void text(std::string_view chars) { (void)chars; }
};

// Thrown by a handler that has read all it needs; ParseXml returns quietly.
struct StopXml {};

// Parses `content`; liborcus's parse errors pass through.
void ParseXml(std::string_view content, XmlHandler& handler);

// Common namespace URIs.
namespace xmlns {
constexpr std::string_view kSpreadsheetMl = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kDrawingMl = "http://schemas.openxmlformats.org/drawingml/2006/main";
}  // namespace xmlns

}  // namespace tavo::workbook
