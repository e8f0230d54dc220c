#include "workbook/xml_reader.h"

#include <orcus/parser_base.hpp>
#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>

#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace tavo::workbook {

std::optional<std::string_view> XmlAttributes::get(std::string_view ns, std::string_view name) const {
    for (const XmlAttribute& a : list)
        if (a.name == name && a.ns == ns) return std::string_view(a.value);
    return std::nullopt;
}

bool XmlFlag(std::string_view v) { return v == "1" || v == "true" || v == "on"; }

bool XmlAttributes::flag(std::string_view ns, std::string_view name) const { return XmlFlag(value(ns, name)); }

long XmlAttributes::number(std::string_view ns, std::string_view name, long otherwise) const {
    const auto v = get(ns, name);
    if (!v || v->empty()) return otherwise;
    const std::string digits(*v);
    char* end = nullptr;
    const long n = std::strtol(digits.c_str(), &end, 10);
    return end == digits.c_str() ? otherwise : n;
}

namespace {

// Strict OOXML names its namespaces apart from the transitional ones; the
// elements and attributes are the same.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kStrictNamespaces{{
    {"http://purl.oclc.org/ooxml/spreadsheetml/main", xmlns::kSpreadsheetMl},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships", xmlns::kRelationships},
    {"http://purl.oclc.org/ooxml/drawingml/main", xmlns::kDrawingMl},
    {"http://purl.oclc.org/ooxml/drawingml/spreadsheetDrawing", xmlns::kSpreadsheetDrawing},
    {"http://purl.oclc.org/ooxml/drawingml/chart", xmlns::kChart},
}};

std::string_view Uri(orcus::xmlns_id_t ns) {
    if (!ns) return {};
    const std::string_view uri(ns);
    if (uri.compare(0, 27, "http://purl.oclc.org/ooxml/") == 0)
        for (const auto& [strict, transitional] : kStrictNamespaces)
            if (uri == strict) return transitional;
    return uri;
}

// Attributes arrive before their element; they are kept until it opens.
class Adapter {
public:
    explicit Adapter(XmlHandler& h) : handler_(h) {}

    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void attribute(std::string_view, std::string_view) {}
    void attribute(const orcus::sax_ns_parser_attribute& a) {
        attrs_.list.push_back({Uri(a.ns), a.name, std::string(a.value)});
    }
    void start_element(const orcus::sax_ns_parser_element& e) {
        handler_.start(Uri(e.ns), e.name, attrs_, static_cast<std::size_t>(e.begin_pos));
        attrs_.list.clear();
    }
    void end_element(const orcus::sax_ns_parser_element& e) { handler_.end(Uri(e.ns), e.name); }
    void characters(std::string_view val, bool) { handler_.text(val); }

private:
    XmlHandler& handler_;
    XmlAttributes attrs_;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

namespace {

// Whether a part's text ends as a complete part does: "</name>" or "/>",
// then only blanks and NULs.
bool EndsInAnEndTag(std::string_view t) {
    std::size_t end = t.size();
    while (end > 0 && (t[end - 1] == ' ' || t[end - 1] == '\n' || t[end - 1] == '\r' || t[end - 1] == '\t' || t[end - 1] == 0))
        --end;
    std::size_t at = end > 0 && t[end - 1] == '>' ? end - 1 : 0;
    if (at > 0 && t[at - 1] == '/') return true;
    while (at > 0 && (std::isalnum(static_cast<unsigned char>(t[at - 1])) || t[at - 1] == ':' || t[at - 1] == '_' ||
                      t[at - 1] == '-' || t[at - 1] == '.'))
        --at;
    return at >= 2 && at + 1 < end && t[at - 1] == '/' && t[at - 2] == '<';
}

}  // namespace

XmlText::XmlText(std::vector<unsigned char> bytes)
    : bytes_(std::move(bytes)), view_(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()),
      safe_(EndsInAnEndTag(view_)) {}

XmlText::XmlText(std::string_view text) : XmlText(std::vector<unsigned char>(text.begin(), text.end())) {}

void ParseXml(const XmlText& text, XmlHandler& handler) {
    if (!text.safe()) throw XmlDamaged("cut short: it does not end in an end tag");
    const std::string_view content = text.view();
    orcus::xmlns_repository repo;
    orcus::xmlns_context cxt = repo.create_context();
    Adapter adapter(handler);
    orcus::sax_ns_parser<Adapter> parser(content.data(), content.size(), cxt, adapter);
    try {
        parser.parse();
    } catch (const StopXml&) {
    } catch (const orcus::parse_error& e) {
        throw XmlDamaged("not well-formed XML at byte " + std::to_string(e.offset()));
    } catch (const orcus::general_error&) {
        throw XmlDamaged("not well-formed XML (an undeclared namespace or a broken name)");
    }
}

std::string UnescapeOoxml(std::string_view t) {
    if (t.find("_x") == std::string_view::npos) return std::string(t);
    std::string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] == '_' && i + 7 <= t.size() && t[i + 1] == 'x' && t[i + 6] == '_') {
            uint32_t c = 0;
            bool hex = true;
            for (std::size_t k = 2; k < 6 && hex; ++k) {
                const int d = HexDigit(t[i + k]);
                hex = d >= 0;
                c = c << 4 | static_cast<uint32_t>(d < 0 ? 0 : d);
            }
            if (hex) {
                AppendUtf8(out, c);
                i += 7;
                continue;
            }
        }
        out += t[i++];
    }
    return out;
}

}  // namespace tavo::workbook
