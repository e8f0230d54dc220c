#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::workbook {

// Element events of an XML part, read with liborcus's namespace-aware SAX
// parser. Namespaces are given as their URIs; the strict OOXML URIs arrive
// as their transitional twins, so that readers name one URI for both.
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
    // A switch as any writer spells it: "1", "true" or "on".
    bool flag(std::string_view ns, std::string_view name) const;
    // A whole number, or `otherwise` when missing or not a number.
    long number(std::string_view ns, std::string_view name, long otherwise = 0) const;
};

// A switch attribute's value as true or false; "1", "true" and "on" are true.
bool XmlFlag(std::string_view value);

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

// A part that is not well-formed XML; what() says so in words.
class XmlDamaged : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A part's text as the XML parser takes it. A complete part ends in an end
// tag ("</name>", or "/>" for an empty one); one that does not is cut short,
// and liborcus's parser would read past its end.
class XmlText {
public:
    explicit XmlText(std::vector<unsigned char> bytes);
    explicit XmlText(std::string_view text);
    XmlText(XmlText&&) = default;
    XmlText& operator=(XmlText&&) = default;
    XmlText(const XmlText&) = delete;
    XmlText& operator=(const XmlText&) = delete;

    std::string_view view() const { return view_; }
    std::size_t size() const { return view_.size(); }
    // Whether the parser may read it: it ends in an end tag.
    bool safe() const { return safe_; }

private:
    std::vector<unsigned char> bytes_;
    std::string_view view_;
    bool safe_ = true;
};

// Parses `text`; the parser's errors become XmlDamaged.
void ParseXml(const XmlText& text, XmlHandler& handler);

// Text of an OOXML string with its "_xHHHH_" escapes (characters XML cannot
// hold, such as _x000D_ for a carriage return) turned back into characters.
std::string UnescapeOoxml(std::string_view text);

// Common namespace URIs.
namespace xmlns {
constexpr std::string_view kSpreadsheetMl = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kDrawingMl = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr std::string_view kSpreadsheetDrawing = "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr std::string_view kChart = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr std::string_view kMarkupCompatibility = "http://schemas.openxmlformats.org/markup-compatibility/2006";
// OpenDocument's.
constexpr std::string_view kOdfOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kOdfTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kOdfText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kOdfStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr std::string_view kOdfDraw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
constexpr std::string_view kOdfSvg = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
constexpr std::string_view kOdfConfig = "urn:oasis:names:tc:opendocument:xmlns:config:1.0";
}  // namespace xmlns

}  // namespace tavo::workbook
