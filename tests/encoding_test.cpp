// Text conversion gives the same results on Linux (iconv's CP932) and on
// Windows (the system's code page 932), the lossy and the exact way.
#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace {

TEST(Encoding, SameOnEveryPlatform) {
    const struct {
        const char* from;
        const char* to;
        std::string in;
        std::string lossy;            // with "?" for the first byte of what does not convert
        std::size_t failedAt;         // npos: converts exactly
    } cases[] = {
        {"CP932", "UTF-8", "\x95\xBD\x96\xCA\x90\x7D", "平面図", std::string::npos},
        {"CP932", "UTF-8", "\x81\x60\x81\x5F\x5C", "～＼\\", std::string::npos},
        {"CP932", "UTF-8", "\x87\x40\xED\x40\xFA\x40\x81\x91", "①纊ⅰ￠", std::string::npos},
        {"CP932", "UTF-8", "a\x81\x20" "b", "a? b", 1},
        {"CP932", "UTF-8", "a\xA0" "b\x80", "a?b?", 1},
        {"CP932", "UTF-8", "ab\x81", "ab?", 2},
        {"UTF-8", "CP932", "平面図", "\x95\xBD\x96\xCA\x90\x7D", std::string::npos},
        {"UTF-8", "CP932", "x\xC3\xA9", "x??", 1},  // é has no Shift-JIS form
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(tavo::platform::ConvertCharset(c.in, c.from, c.to), c.lossy);
        std::string out;
        std::size_t failedAt = 0;
        EXPECT_EQ(tavo::platform::ConvertCharsetExact(c.in, c.from, c.to, out, failedAt), c.failedAt == std::string::npos);
        EXPECT_EQ(failedAt, c.failedAt);
    }
    EXPECT_EQ(tavo::platform::Cp932ToUtf8("\x83\x5C\x95\x5C"), "ソ表");
    EXPECT_EQ(tavo::platform::Utf8ToCp932("ソ表"), "\x83\x5C\x95\x5C");
}

}  // namespace
