#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace tavo::cli {

// A JSON string literal of UTF-8 text.
inline std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04x", u);
            out += escape.data();
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// One object, members in the order they are added.
class JsonObject {
public:
    JsonObject& raw(std::string_view name, std::string_view json) {
        text_ += text_.empty() ? "{" : ", ";
        text_ += JsonString(name) + ": " + std::string(json);
        return *this;
    }
    JsonObject& text(std::string_view name, std::string_view utf8) { return raw(name, JsonString(utf8)); }
    JsonObject& number(std::string_view name, long long value) { return raw(name, std::to_string(value)); }
    std::string str() const { return text_.empty() ? "{}" : text_ + "}"; }

private:
    std::string text_;
};

}  // namespace tavo::cli
