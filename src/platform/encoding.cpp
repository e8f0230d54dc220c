#include "platform/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace tavo::platform {

namespace {

// iconv's C interface moves char pointers over the buffers and reports
// errors as (iconv_t)-1.
// NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic,cppcoreguidelines-pro-bounds-array-to-pointer-decay,performance-no-int-to-ptr)
iconv_t open(const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no converter from ") + from);
    return cd;
}

// With `failedAt` set, stops at the first byte that does not convert and
// reports its offset instead of replacing it.
std::string convert(std::string_view in, iconv_t cd, std::size_t* failedAt = nullptr) {
    std::string out;
    char buffer[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            if (failedAt) {
                *failedAt = in.size() - srcLeft;
                break;
            }
            // EILSEQ or EINVAL: replace one byte and go on.
            out += '?';
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // ready for the next text
    return out;
}

std::string convert(std::string_view in, const char* from, const char* to, std::size_t* failedAt = nullptr) {
    iconv_t cd = open(from, to);
    std::string out = convert(in, cd, failedAt);
    iconv_close(cd);
    return out;
}
// NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic,cppcoreguidelines-pro-bounds-array-to-pointer-decay,performance-no-int-to-ptr)

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) { return convert(cp932, "CP932", "UTF-8"); }

std::string Utf8ToCp932(std::string_view utf8) { return convert(utf8, "UTF-8", "CP932"); }

std::string ConvertCharset(std::string_view text, const char* from, const char* to) {
    return convert(text, from, to);
}

bool ConvertCharsetExact(std::string_view text, const char* from, const char* to, std::string& out,
                         std::size_t& failedAt) {
    failedAt = std::string_view::npos;
    out = convert(text, from, to, &failedAt);
    return failedAt == std::string_view::npos;
}

Utf8ToCp932Converter::Utf8ToCp932Converter() : cd_(open("UTF-8", "CP932")) {}

Utf8ToCp932Converter::~Utf8ToCp932Converter() { iconv_close(static_cast<iconv_t>(cd_)); }

std::string Utf8ToCp932Converter::toCp932(std::string_view utf8, std::u32string* unmapped) const {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (n == 0 || i + n > utf8.size()) {  // not a character: the converter says what it becomes
            out += convert(utf8.substr(i, 1), static_cast<iconv_t>(cd_));
            ++i;
            continue;
        }
        if (n == 1) {
            out += utf8[i++];
            continue;
        }
        uint32_t key = 0;
        for (std::size_t k = 0; k < n; ++k) key = key << 8 | static_cast<unsigned char>(utf8[i + k]);
        auto it = known_.find(key);
        if (it == known_.end()) {
            std::string cp = convert(utf8.substr(i, n), static_cast<iconv_t>(cd_));
            // A character without a form is one "?", whatever its length.
            if (cp.find_first_not_of('?') == std::string::npos) cp = "?";
            it = known_.emplace(key, std::move(cp)).first;
        }
        out += it->second;
        if (unmapped && it->second == "?") {
            char32_t code = static_cast<unsigned char>(utf8[i]) & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
            for (std::size_t k = 1; k < n; ++k) code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            unmapped->push_back(code);
        }
        i += n;
    }
    return out;
}

}  // namespace tavo::platform
