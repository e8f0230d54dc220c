#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/comma_text.h"
#include "base/geometry.h"
#include "base/number_text.h"
#include "base/path_text.h"
#include "base/record_list.h"
#include "base/uint128.h"

namespace tavo {
namespace {

TEST(NumberText, ReadsIntegersAsTheRuntimeDoes) {
    const std::pair<const char*, int32_t> good[] = {{"  -7", -7}, {"+5", 5},         {"$1F", 31},
                                                    {"0X10", 16}, {"-$10", -16},      {"$FFFFFFFF", -1},
                                                    {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : good) EXPECT_EQ(parseInt32(text), value) << text;
    for (const char* bad : {"", " ", "-", "$", "0x", "12a", "1 ", "2147483648", "-2147483649", "$100000000", "5.0"})
        EXPECT_FALSE(parseInt32(bad).has_value()) << '"' << bad << '"';
}

TEST(CommaText, SplitsLikeTheRuntimesStringList) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitCommaText("a,,b c"), (V{"a", "", "b", "c"}));
    EXPECT_EQ(splitCommaText("  a ,\tb  "), (V{"a", "b"}));
    EXPECT_EQ(splitCommaText(",a,"), (V{"", "a", ""}));
    EXPECT_EQ(splitCommaText("\"x,y\",\"say \"\"hi\"\"\""), (V{"x,y", "say \"hi\""}));
    EXPECT_EQ(splitCommaText(std::string_view("1,2\0,3", 6)), (V{"1", "2"}));
    EXPECT_EQ(splitCommaText(""), V{});
    EXPECT_EQ(splitCommaText("\"open"), V{"open"});
}

TEST(PathText, TrimsAndChangesExtensions) {
    EXPECT_EQ(trimBlanks(std::string_view("\0 a b\r\n", 7)), "a b");
    EXPECT_EQ(trimBlanks("        "), "");
    EXPECT_EQ(changeFileExt("dir.v2/plan", ".bak"), "dir.v2/plan.bak");
    EXPECT_EQ(changeFileExt("C:\\a.b\\plan.tar.jwc", ".bak"), "C:\\a.b\\plan.tar.bak");
    EXPECT_EQ(extractFileExt("dir/plan.JWC"), ".JWC");
    EXPECT_EQ(extractFileExt("dir.v2/plan"), "");
    EXPECT_EQ(extractFilePath("/opt/x/host"), "/opt/x/");
    EXPECT_EQ(extractFilePath("host.exe"), "");
    // Shift-JIS names whose second byte is 0x5C: "表", "ソ".
    EXPECT_EQ(changeFileExt("C:\\a.\x95\x5C", ".bak"), "C:\\a.bak");
    EXPECT_EQ(extractFilePath("C:\\d\\\x83\x5C.jwc"), "C:\\d\\");
    EXPECT_EQ(extractFilePath("C:\\\x95\x5C\\plan.jwc"), "C:\\\x95\x5C\\");
}

// The 32-bit builds do the number forms' 128-bit arithmetic with the class:
// every operation it has gives the builtin type's result.
#if defined(__SIZEOF_INT128__)
TEST(PortableUint128, MatchesTheBuiltinType) {
    using Builtin = unsigned __int128;
    const auto same = [](PortableUint128 p, Builtin b) {
        return p.high() == uint64_t(b >> 64) && uint64_t(p) == uint64_t(b);
    };
    std::mt19937_64 random(128);
    for (int round = 0; round < 20000; ++round) {
        const uint64_t h = round % 3 == 0 ? 0 : random() >> (random() % 64);
        const uint64_t l = random() >> (random() % 64);
        const uint64_t m = round % 5 == 0 ? 10000000000000000000ull : (random() >> (random() % 64)) | 1;
        const int shift = static_cast<int>(random() % 128);
        const PortableUint128 p(h, l), q(m, l ^ h);
        const Builtin b = (Builtin(h) << 64) | l, c = (Builtin(m) << 64) | (l ^ h);
        ASSERT_TRUE(same(p + q, b + c) && same(p - q, b - c) && same(p & q, b & c)) << round;
        ASSERT_TRUE(same(p << shift, b << shift) && same(p >> shift, b >> shift)) << round;
        ASSERT_TRUE(same(p * m, b * m) && same(PortableUint128(l) * m, Builtin(l) * m)) << round;
        ASSERT_TRUE(same(p / m, b / m) && same(p % m, b % m) && (p == q) == (b == c) && (p < q) == (b < c)) << round;
    }
}
#endif

TEST(Geometry, PaperRoundingAndDirections) {
    for (const auto& [paper, length] : {std::pair{0, 1189}, {3, 420}, {4, 297}, {7, 297}, {-1, 297}})
        EXPECT_EQ(PaperLength(paper), length) << paper;
    const std::pair<double, int64_t> rounded[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {NAN, 0}, {1e300, INT64_MAX}};
    for (const auto& [x, whole] : rounded) EXPECT_EQ(RoundHalfEven(x), whole) << x;
    // Eighths of a turn, counterclockwise from +x.
    const int dx[] = {1, 1, 0, -1, -1, -1, 0, 1}, dy[] = {0, 1, 1, 1, 0, -1, -1, -1};
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, dx[k], dy[k]), k * kPi / 4) << k;
    EXPECT_EQ(SegmentAngle(0, 0, 0, 0), 0);
    // Angles from 0 up to a whole turn, the same direction.
    for (const auto& [in, out] : {std::pair{359.5, 359.5}, {360., 0.}, {-90., 270.}, {-720., 0.}, {1e6, 280.}, {-1e-300, 0.}})
        EXPECT_EQ(NormalizedDegrees(in), out) << in;
    EXPECT_TRUE(std::isnan(NormalizedDegrees(NAN)));
    EXPECT_EQ(NormalizedDegrees(-HUGE_VAL), -HUGE_VAL);
}

TEST(RecordList, KeepsOrderAcrossChunksAndFillsInBulk) {
    constexpr std::size_t kChunk = RecordList<int32_t>::kChunk;
    RecordList<int32_t> list;
    const std::size_t n = 3 * kChunk + 5;
    for (std::size_t i = 0; i < n; ++i) list.append(static_cast<int32_t>(i));
    EXPECT_EQ(list.appendBulk(kChunk + 2, [](int32_t* p, std::size_t k) { return std::fill_n(p, k, -1), k; }), kChunk + 2);
    // A short fill stops the bulk append.
    EXPECT_EQ(list.appendBulk(10, [](int32_t* p, std::size_t) { return *p = 7, std::size_t{1}; }), 1u);
    std::vector<int32_t> all;
    list.forEachRun([&](const int32_t* p, std::size_t k) { all.insert(all.end(), p, p + k); });
    std::vector<int32_t> want(n);
    for (std::size_t i = 0; i < n; ++i) want[i] = static_cast<int32_t>(i);
    want.resize(n + kChunk + 2, -1);
    want.push_back(7);
    EXPECT_EQ(all, want);
    EXPECT_EQ(list.size(), want.size());
    EXPECT_EQ(list[n - 1], static_cast<int32_t>(n - 1));
}

}  // namespace
}  // namespace tavo
