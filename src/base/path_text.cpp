#include "base/path_text.h"

#include "base/sjis_char.h"

namespace tavo {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The second byte of a Shift-JIS character may be 0x5C, the "\\" of a
// one-byte text ("表" is 95 5C): it is no separator.
std::size_t afterLastSeparator(const std::string& path) {
    std::size_t after = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\' || c == '/' || c == ':')
            after = i + 1;
        else if (IsSjisLeadByte(c) && i + 1 < path.size() && IsSjisTrailByte(static_cast<unsigned char>(path[i + 1])))
            ++i;
    }
    return after;
}

// Where the extension starts: the last "." after the last separator, or the end.
std::size_t extensionStart(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos || dot < afterLastSeparator(path) ? path.size() : dot;
}

}  // namespace

std::string trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string changeFileExt(const std::string& path, const std::string& ext) {
    return path.substr(0, extensionStart(path)) + ext;
}

std::string extractFileExt(const std::string& path) { return path.substr(extensionStart(path)); }

std::string extractFilePath(const std::string& path) {
    return path.substr(0, afterLastSeparator(path));
}

}  // namespace tavo
