#include "workbook/xml_reader.h"

#include <orcus/sax_ns_parser.hpp>
#include <orcus/xml_namespace.hpp>

namespace tavo::workbook {

std::optional<std::string_view> XmlAttributes::get(std::string_view ns, std::string_view name) const {
    for (const XmlAttribute& a : list)
        if (a.name == name && a.ns == ns) return std::string_view(a.value);
    return std::nullopt;
}

namespace {

std::string_view Uri(orcus::xmlns_id_t ns) { return ns ? std::string_view(ns) : std::string_view(); }

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

}  // namespace

void ParseXml(std::string_view content, XmlHandler& handler) {
    orcus::xmlns_repository repo;
    orcus::xmlns_context cxt = repo.create_context();
    Adapter adapter(handler);
    orcus::sax_ns_parser<Adapter> parser(content.data(), content.size(), cxt, adapter);
    try {
        parser.parse();
    } catch (const StopXml&) {
    }
}

}  // namespace tavo::workbook
