#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// The bytes of a Windows profile file (tavo.ini), read and changed the way
// GetPrivateProfileStringA and WritePrivateProfileStringA do, so that files
// that Windows, a text editor or other programs wrote keep working.
//
// The file is indexed once, so many reads cost one pass over the bytes; a
// write re-indexes.
//
// Bytes are Shift-JIS and are never decoded, but a lead byte and its trail
// byte are kept together: a trail byte 0x5B or 0x5D never opens or closes a
// section name, and one in the ASCII letter range never folds case (the
// platform compares characters, not bytes).
//
// Lines end at CR LF, LF or a lone CR. Blanks are space, tab, CR, LF, VT, FF
// and 0x1A. Names compare with ASCII case folding; section and key names
// passed in are trimmed of blanks, as the names in the file are. Lines before
// the first section belong to no section and no lookup reaches them. A
// section name runs from "[" to the last "]" of its line.
//
// Inside a section, every line that is not blank, a comment or a section is
// a key line. One without "=" is a key whose value is empty: looking up its
// text finds "". An empty key name finds a line "=value", the only line whose
// key is empty; the empty section name finds "[]".
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string bytes);

    const std::string& bytes() const { return bytes_; }

    // The value of the first `key` in the first `section` of that name, or
    // `fallback` less its trailing spaces; either cut to bufferSize - 1 bytes.
    std::string read(std::string_view section, std::string_view key, std::string_view fallback,
                     std::size_t bufferSize = 2048) const;

    // Sets the first `key` in the first `section` to `value`, written byte
    // for byte, except that each line break (CR LF, CR or LF) and each NUL
    // in a name or value is written as one blank: nothing passed in can add
    // lines. Only that line changes, or new lines are added; every other
    // byte stays. Key names holding "=" do not read back as written (the
    // platform does not check that either).
    void write(std::string_view section, std::string_view key, std::string_view value);

    // Every section name in file order, duplicates included.
    std::vector<std::string> sectionNames() const;
    // Every key name of the first `section` of that name, in file order.
    std::vector<std::string> keyNames(std::string_view section) const;

private:
    struct Span {
        std::size_t begin = 0;
        std::size_t size = 0;
    };
    struct KeyLine {
        std::size_t lineBegin = 0;
        std::size_t contentEnd = 0;  // where the line end starts
        Span key;
        Span value;  // trimmed and unquoted
    };
    struct Section {
        Span name;
        std::size_t firstKey = 0;  // into keys_
        std::size_t endKey = 0;
        std::size_t insertAt = 0;  // after the last key line, or after the header
        bool insertNeedsLineEnd = false;  // that line is the last and has no line end
    };

    void index();
    std::string_view text(Span span) const { return std::string_view(bytes_).substr(span.begin, span.size); }
    const Section* findSection(std::string_view name) const;
    const KeyLine* findKey(const Section& section, std::string_view name) const;

    std::string bytes_;
    std::vector<Section> sections_;
    std::vector<KeyLine> keys_;
};

}  // namespace tavo
