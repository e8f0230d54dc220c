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
    EXPECT_EQ(parseInt32("42"), 42);
    EXPECT_EQ(parseInt32("  -7"), -7);
    EXPECT_EQ(parseInt32("+5"), 5);
    EXPECT_EQ(parseInt32("$1F"), 31);
    EXPECT_EQ(parseInt32("0x10"), 16);
    EXPECT_EQ(parseInt32("0X10"), 16);
    EXPECT_EQ(parseInt32("-$10"), -16);
    EXPECT_EQ(parseInt32("$FFFFFFFF"), -1);
    EXPECT_EQ(parseInt32("2147483647"), 2147483647);
    EXPECT_EQ(parseInt32("-2147483648"), INT32_MIN);
    for (const char* bad : {"", " ", "-", "$", "0x", "12a", "1 ", "2147483648", "-2147483649", "$100000000",
                            "5.0", "abc"})
        EXPECT_FALSE(parseInt32(bad).has_value()) << '"' << bad << '"';
}

TEST(CommaText, SplitsLikeTheRuntimesStringList) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitCommaText("a,b,c"), (V{"a", "b", "c"}));
    EXPECT_EQ(splitCommaText("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(splitCommaText("a b\tc"), (V{"a", "b", "c"}));
    EXPECT_EQ(splitCommaText("  a , b  "), (V{"a", "b"}));
    EXPECT_EQ(splitCommaText("a,"), (V{"a", ""}));
    EXPECT_EQ(splitCommaText(",a"), (V{"", "a"}));
    EXPECT_EQ(splitCommaText("\"x,y\",\"say \"\"hi\"\"\""), (V{"x,y", "say \"hi\""}));
    EXPECT_EQ(splitCommaText(std::string_view("1,2\0,3", 6)), (V{"1", "2"}));
    EXPECT_EQ(splitCommaText(""), V{});
    EXPECT_EQ(splitCommaText("\"open"), V{"open"});
}

TEST(PathText, TrimsAndChangesExtensions) {
    EXPECT_EQ(trimBlanks(std::string_view("\0 a b\r\n", 7)), "a b");
    EXPECT_EQ(trimBlanks("        "), "");
    EXPECT_EQ(changeFileExt("dir/plan.jwc", ".bak"), "dir/plan.bak");
    EXPECT_EQ(changeFileExt("dir.v2/plan", ".bak"), "dir.v2/plan.bak");
    EXPECT_EQ(changeFileExt("C:\\a.b\\plan", ".bak"), "C:\\a.b\\plan.bak");
    EXPECT_EQ(changeFileExt("plan.tar.jwc", ".bak"), "plan.tar.bak");
    EXPECT_EQ(extractFileExt("dir/plan.JWC"), ".JWC");
    EXPECT_EQ(extractFileExt("dir.v2/plan"), "");
    EXPECT_EQ(extractFilePath("C:\\Program Files\\host.exe"), "C:\\Program Files\\");
    EXPECT_EQ(extractFilePath("/opt/x/host"), "/opt/x/");
    EXPECT_EQ(extractFilePath("host.exe"), "");
    // Shift-JIS names whose second byte is 0x5C: "表", "ソ".
    EXPECT_EQ(changeFileExt("C:\\a.\x95\x5C", ".bak"), "C:\\a.bak");
    EXPECT_EQ(extractFilePath("C:\\d\\\x83\x5C.jwc"), "C:\\d\\");
    EXPECT_EQ(extractFilePath("C:\\\x95\x5C"), "C:\\");
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
        const PortableUint128 p(h, l);
        const Builtin b = (Builtin(h) << 64) | l;
        const PortableUint128 q(m, l ^ h);
        const Builtin c = (Builtin(m) << 64) | (l ^ h);
        ASSERT_TRUE(same(p + q, b + c) && same(p - q, b - c) && same(p & q, b & c)) << round;
        ASSERT_TRUE(same(p << shift, b << shift) && same(p >> shift, b >> shift)) << round;
        ASSERT_TRUE(same(p * m, b * m) && same(PortableUint128(l) * m, Builtin(l) * m)) << round;
        ASSERT_TRUE(same(p / m, b / m) && same(p % m, b % m)) << round;
        ASSERT_EQ(p == q, b == c);
        ASSERT_EQ(p < q, b < c);
    }
}
#endif

TEST(Geometry, PaperRoundingAndDirections) {
    EXPECT_EQ(PaperLength(0), 1189);
    EXPECT_EQ(PaperLength(3), 420);
    EXPECT_EQ(PaperLength(4), 297);
    EXPECT_EQ(PaperLength(7), 297);
    EXPECT_EQ(PaperLength(-1), 297);

    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(NAN), 0);
    EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);

    EXPECT_EQ(SegmentAngle(0, 0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -1, 0), kPi);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 0, 1), kPi / 2);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 0, -1), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 1, -1), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -1, -1), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -1, 1), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 1, 1), kPi / 4);

    // Angles from 0 up to a whole turn, the same direction.
    const struct {
        double in, out;
    } angles[] = {{0, 0}, {359.5, 359.5}, {360, 0}, {-90, 270}, {400, 40}, {-720, 0}, {1e6, 280}, {-1e-300, 0}};
    for (const auto& a : angles) EXPECT_EQ(NormalizedDegrees(a.in), a.out) << a.in;
    EXPECT_TRUE(std::isnan(NormalizedDegrees(NAN)));
    EXPECT_EQ(NormalizedDegrees(-HUGE_VAL), -HUGE_VAL);
}

TEST(RecordList, KeepsOrderAcrossChunksAndFillsInBulk) {
    RecordList<int32_t> list;
    const std::size_t n = 3 * RecordList<int32_t>::kChunk + 5;
    for (std::size_t i = 0; i < n; ++i) list.append(static_cast<int32_t>(i));
    std::size_t bulk = list.appendBulk(RecordList<int32_t>::kChunk + 2, [&](int32_t* p, std::size_t k) {
        for (std::size_t i = 0; i < k; ++i) p[i] = -1;
        return k;
    });
    EXPECT_EQ(bulk, RecordList<int32_t>::kChunk + 2);
    // A short fill stops the bulk append.
    bulk = list.appendBulk(10, [](int32_t* p, std::size_t) {
        p[0] = 7;
        return std::size_t{1};
    });
    EXPECT_EQ(bulk, 1u);
    ASSERT_EQ(list.size(), n + RecordList<int32_t>::kChunk + 3);
    std::size_t seen = 0;
    bool inOrder = true;
    list.forEachRun([&](const int32_t* p, std::size_t k) {
        for (std::size_t i = 0; i < k; ++i, ++seen) {
            const int32_t want = seen < n ? static_cast<int32_t>(seen) : (seen + 1 < list.size() ? -1 : 7);
            inOrder = inOrder && p[i] == want;
        }
    });
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(seen, list.size());
    EXPECT_EQ(list[n - 1], static_cast<int32_t>(n - 1));
}

}  // namespace
}  // namespace tavo
