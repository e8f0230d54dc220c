#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <random>

#include "base/byte_source.h"
#include "base/error.h"
#include "base/geometry.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_framing.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"
#include "jwc_app_file.h"

namespace tavo {
namespace {

constexpr std::size_t kTablesEnd = 2389;  // first record of a file with the integer scale table
constexpr std::size_t kNamesSize = 2048 + 256;
constexpr std::size_t kEmptySize = kTablesEnd + kNamesSize;  // no records

std::string bytesOf(TJwcFile& d) {
    StringSink sink;
    WriteJwc(d, sink);
    return sink.take();
}

TJwcFile created(int32_t scale) {
    TJwcFile d;
    d.paperSize = 3;
    d.scale = scale;
    ShowAllLayersAndGroups(d);
    return d;
}

// Two records of every kind and three texts, one of them empty.
TJwcFile sample() {
    TJwcFile d = created(100);
    d.addSen() = Sen{1, 2, 3, 4, 1, 2, 17, 9, 300};
    d.addSen() = Sen{-5.5f, 0, 100, 0.25f, 2, 3, 255, 0, 0};
    d.addEnko() = Enko{10, 20, 5, 10000, 0, 90 * 65536, 0, 1, 2, 17, 0, 0};
    d.addEnko() = Enko{0, 0, 7, 5000, -45 * 65536, 45 * 65536, 30 * 65536, 3, 4, 18, 1, 2};
    for (const char* t : {"AB", "", "C"}) {
        d.addMoji() = Moji{0, 0, 10, 0, 0, 3, 240, 0};
        d.appendText(t);
    }
    d.addTen() = Ten{1, 1, 242, 3, 0};
    d.addTen() = Ten{2, 2, 0, 0, 65535};
    std::memcpy(d.names.LayerNames[0x21], "wall    ", 8);
    std::memcpy(d.names.GroupNames + 16 * 2, "  ground floor  ", 16);
    return d;
}

void load(TJwcFile& d, const std::string& bytes, const std::string& name = "test.jwc") {
    MemorySource source(bytes);
    ReadJwc(d, source, name);
}

// "FILE: DETAIL" of the error a load ends in; empty when the file loads.
std::string loadError(TJwcFile& d, const std::string& bytes) {
    try {
        load(d, bytes, "bad.jwc");
        return "";
    } catch (const Error& e) {
        return e.file() + ": " + e.detail();
    }
}

std::string headerText(const std::string& file, std::size_t offset) {
    const std::string b = file.substr(offset, 200);
    return b.substr(0, b.find('\0'));
}

std::string withLine(std::string f, std::size_t offset, const std::string& text) {
    std::string b = text;
    b.resize(200, '\0');
    return f.replace(offset, 200, b);
}

const std::vector<std::string> kNoFaults;

// The fixed header texts: compared with JW_CAD's in the application-file
// tests below.
TEST(JwcWriter, TextArea) {
    // A NUL inside a text ends it; a record without a text gets an empty one
    // to point at; records point at their texts whatever offsets they hold.
    TJwcFile n = created(1);
    for (int i = 0; i < 3; ++i) n.addMoji() = Moji{};
    n.appendText(std::string("ab\0cd", 5));
    std::string f = bytesOf(n);
    EXPECT_EQ(headerText(f, 600).substr(0, 20), "4000:0000,4000:0005,");
    EXPECT_EQ(f.substr(kTablesEnd + 3 * 24, 5), std::string("ab\0\0\0", 5));
    EXPECT_EQ(f.size(), kEmptySize + 3 * 24 + 5);
    EXPECT_EQ(test::PeerFramingFaults(f), kNoFaults);
    EXPECT_EQ(n.textCount(), 1);  // the drawing keeps what it held

    // Text area lengths above 0xFFFF carry into the segment.
    TJwcFile big = created(1);
    big.addMoji() = Moji{};
    big.appendText(std::string(0xFFFF, 'x'));  // plus its NUL: 0x10000
    EXPECT_EQ(headerText(bytesOf(big), 600).substr(0, 20), "4000:0000,4001:0000,");
}

TEST(JwcWriter, CommentsAreCutToThirtyTwoBytes) {
    TJwcFile d = created(1);
    d.comment1 = std::string(32, 'a');
    d.comment2 = std::string(33, 'b');
    std::string f = bytesOf(d);
    EXPECT_EQ(f.substr(40, 65), std::string(32, 'a') + std::string(32, 'b') + " ");
    d.head.TitleBlock[40 + 5] = 'Z';  // a stale byte after the comment's NUL stays
    d.comment1 = "abc";
    EXPECT_EQ(bytesOf(d).substr(40, 6), std::string("abc\0aZ", 6));
    // A double-byte character may be split at byte 32.
    d.comment1 = std::string(31, 'a') + "\x82\xA0";
    EXPECT_EQ(bytesOf(d).substr(40, 32), std::string(31, 'a') + "\x82");
}

// Today's files, and this system's files before the application's framing
// (NUL block ends, a CR in header line 2, 2305 bytes of names, plain text
// offsets), read the same and save as today's do.
TEST(JwcReader, RoundTripReproducesTheFileAndLoadingAppends) {
    TJwcFile d = sample();
    const std::string first = bytesOf(d);
    std::string before = first + ' ';
    for (std::size_t end : {199u, 399u, 599u, 799u}) before[end] = '\0';
    before.replace(400 + 112, 2, std::string("\r\0", 2));
    const int32_t plain[] = {0, 3, 4};
    for (std::size_t i = 0; i < 3; ++i) std::memcpy(&before[kTablesEnd + 2 * 22 + 2 * 32 + 24 * i + 16], &plain[i], 4);
    std::string expected = first;
    expected[400 + 113] = '\0';  // past its NUL a header line keeps what the block held
    for (const auto& [file, saved] : {std::pair{first, first}, {before, expected}}) {
        TJwcFile r;
        load(r, file);
        ASSERT_EQ(r.textCount(), 3);
        EXPECT_EQ(r.textAt(1), "");
        EXPECT_EQ(+r.mojiAt(2)->TextOffset, 4);  // the offset in the pool, not the pointer the file holds
        EXPECT_EQ(r.layerName(0x21), "wall");
        EXPECT_EQ(r.groupName(2), "ground floor");
        EXPECT_EQ(r.scale, 1);
        EXPECT_FLOAT_EQ(r.unitDivisor, 420.0f / 518);
        r.scale = 100;
        EXPECT_EQ(bytesOf(r), saved);
    }
    TJwcFile r;
    load(r, first);
    load(r, first);
    EXPECT_EQ(r.senCount(), 4);
    EXPECT_EQ(r.textCount(), 6);
    EXPECT_EQ(r.textAt(5), "C");
}

// A float table's scales also fill the integer table, the one a save
// writes; a scale that is not whole is written as the nearest whole one.
TEST(JwcReader, FloatScalesFillTheIntegerTableASaveWrites) {
    const struct {
        float scale;
        int16_t whole;
    } cases[] = {{30.5f, 30}, {31.5f, 32}, {0.2f, 1},      {0, 0},           {-0.4f, 0},
                 {-3.7f, -4}, {1e9f, 32767}, {-1e9f, -32768}, {HUGE_VALF, 32767}, {NAN, 0}};
    std::string floats(64, '\0');
    for (std::size_t g = 0; g < std::size(cases); ++g) std::memcpy(&floats[4 * g], &cases[g].scale, 4);
    TJwcFile d = sample();
    std::string f = bytesOf(d);
    f[22] = '*';
    f.replace(1797, 32, floats);
    TJwcFile r;
    load(r, f);
    EXPECT_FALSE(r.oldFormat);
    for (std::size_t g = 0; g < std::size(cases); ++g) EXPECT_EQ(r.groupScaleInt[g], cases[g].whole) << g;
    EXPECT_EQ(+r.senAt(1)->Y2, 0.25f);  // every later block 32 bytes on
    TJwcFile again;
    load(again, bytesOf(r));
    EXPECT_TRUE(again.oldFormat);
    EXPECT_EQ(again.groupScaleFloat[0], 30.0f);
}

TEST(JwcReader, HeaderLine1DefaultsAndGuards) {
    TJwcFile d = created(1);
    const std::string f = bytesOf(d);
    const std::string tail = ",1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,";
    const struct {
        std::string line1;
        int32_t paper, units, temporaryPoints;
    } cases[] = {
        {"0,0,0,0,0,3,2,1,1,1,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0", 2, 518, 0},  // no field 30
        {"0,0,0,0,0,3,2,1,1,1,0", 1, 518, 0},                                             // no field 11
        {"0,0,0,0,0,3,2,1,1,1,0,x" + tail + "1036,0", 1, 1036, 0},
        {"0,0,0,0,0,3,2,1,1,1,0,0" + tail + "0,0", 0, 518, 0},  // would divide by 0
        {"0,0,0,0,0,3,2,1,1,1,0,0" + tail + "-5,0", 0, 518, 0},
        {"0,0,0,0,3,3,2,1,1,1,0,2" + tail + "518", 2, 518, 3},  // 31 fields
        {"0,0,0,0,x,3,2,1,1,1,0,2", 2, 518, 0},
        {"", 1, 518, 0},
    };
    for (const auto& c : cases) {
        TJwcFile r;
        load(r, withLine(f, 200, c.line1));
        EXPECT_EQ(r.paperSize, c.paper) << c.line1;
        EXPECT_EQ(r.unitsPerSheet, c.units) << c.line1;
        EXPECT_EQ(r.temporaryPoints, c.temporaryPoints) << c.line1;
        EXPECT_FLOAT_EQ(r.unitDivisor, float(double(PaperLength(c.paper)) / c.units)) << c.line1;
        // A save writes the temporary points back, never more than there
        // are points (none here).
        EXPECT_EQ(headerText(bytesOf(r), 200).substr(0, 10), "0,0,0,0,0,") << c.line1;
    }
}

TEST(JwcReader, MalformedHeaderLine3StopsBeforeAnyRecord) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    for (const char* line3 : {"4000:0000", "4000:0000,5F6D", "4000:0000,5G6D:0006", "4000:0000,:0006",
                              "4000:0000,4000:+006", ""}) {
        TJwcFile r;
        const std::string error = loadError(r, withLine(f, 600, line3));
        EXPECT_TRUE(error.rfind("bad.jwc: ", 0) == 0 && error.find("header line 3") != std::string::npos) << error;
        EXPECT_EQ(r.senCount() + r.mojiCount(), 0) << line3;
    }
    TJwcFile r;  // a short low part: as many digits as there are
    load(r, withLine(f, 600, "4000:0,4000:6"));
    EXPECT_EQ(r.textCount(), 3);

    // A negative length fails at the text area, after the records.
    TJwcFile neg;
    EXPECT_NE(loadError(neg, withLine(f, 600, "4000:0006,4000:0000")), "");
    EXPECT_EQ(neg.mojiCount(), 3);
    EXPECT_EQ(neg.textCount(), 0);

    // A text area without its closing NUL: its last text still counts.
    TJwcFile open;
    load(open, withLine(f, 600, "4000:0000,4000:0005").erase(kTablesEnd + 2 * 22 + 2 * 32 + 3 * 24 + 5, 1));
    ASSERT_EQ(open.textCount(), 3);
    EXPECT_EQ(open.textAt(2), "C");
}

TEST(JwcReader, EveryTruncationEndsInACleanErrorThatSaysWhere) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    // A short or missing name area loads with blank names; anything cut
    // before it is an error.
    const std::size_t namesStart = f.size() - kNamesSize;
    for (std::size_t cut = 0; cut < f.size(); ++cut) {
        TJwcFile r;
        const std::string error = loadError(r, f.substr(0, cut));
        if (cut < namesStart) {
            EXPECT_EQ(error.rfind("bad.jwc: file ends at byte " + std::to_string(cut) + ",", 0), 0u) << error;
        } else {
            const std::size_t wallAt = namesStart + 0x21 * 8;  // what is there of "wall    "
            EXPECT_EQ(r.layerName(0x21), std::string("wall").substr(0, cut > wallAt ? cut - wallAt : 0)) << cut;
            EXPECT_EQ(error, "") << cut;
            EXPECT_EQ(r.tenCount() + r.nameAreaBytes, 2 + cut - namesStart) << cut;
        }
        // Only whole records are kept.
        const std::size_t lines = cut < kTablesEnd ? 0 : std::min<std::size_t>(2, (cut - kTablesEnd) / 22);
        EXPECT_EQ(r.senCount(), static_cast<int32_t>(lines)) << cut;
    }
    TJwcFile r;
    EXPECT_EQ(loadError(r, f.substr(0, kTablesEnd + 22 + 10)),
              "bad.jwc: file ends at byte 2421, 12 more bytes needed for line record 2 of 2");
}

// Files cut, flipped and stretched where it hurts: every one loads or fails
// with a message, and what it takes stays within a small multiple of its size.
TEST(JwcReader, MangledFilesNeverCrashOrBalloon) {
    TJwcFile d = sample();
    const std::string good = bytesOf(d);
    std::mt19937 random(7);
    const char* const numbers[] = {"0", "-1", "2147483647", "-2147483648", "99999999999", "x", "", "1e9"};
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string f = good, counts;
        for (int k = 0; k < 4; ++k) counts += numbers[random() % 8] + std::string(",");
        switch (round % 6) {
            case 0: f.resize(random() % f.size()); break;
            case 1: for (int k = 0; k < 8; ++k) f[random() % f.size()] = static_cast<char>(random()); break;
            case 2:  // the counts, the paper and the units across it
                f = withLine(f, 200, counts + "0,3,2,1,1,1,0," + numbers[random() % 8] +
                                         ",1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0," + numbers[random() % 8]);
                break;
            case 3: f = withLine(f, 600, "4000:" + std::to_string(random() % 10000) + ",7FFF:FFFF"); break;
            case 4: f.insert(random() % f.size(), std::string(random() % 5000, static_cast<char>(random()))); break;
            default: f[22] = static_cast<char>(random()); break;
        }
        TJwcFile r;
        const std::string error = loadError(r, f);
        loaded += error.empty();
        EXPECT_NE(error, "bad.jwc: ");
        EXPECT_LE(r.heldBytes(), 2 * f.size() + 4096) << "round " << round;
    }
    EXPECT_GT(loaded, 100);
}

// Files framed as JW_CAD saves them load whole, and save as JW_CAD frames
// them by default (which holds the fixed header texts).
TEST(JwcAppFiles, LoadAndSaveBackInEveryFraming) {
    const uint32_t pools[] = {0x40000000u, 0x5F6D0000u, 0x1A2BFFF8u};
    const char ends[] = {'\n', '\r', '\0'};
    for (int i = 0; i < 72; ++i) {
        const int fields = i / 18 % 2 ? 32 : 31;
        const test::AppFraming a{i % 2 == 1, pools[i / 2 % 3], ends[i / 6 % 3], fields, fields == 31, i < 36 ? 2304u : 2305u};
        SCOPED_TRACE(i);
        TJwcFile r;
        load(r, test::AppFramedJwc(a));
        ASSERT_EQ(r.senCount(), 2);
        ASSERT_EQ(r.mojiCount(), test::kAppTextCount);
        ASSERT_EQ(r.tenCount(), 2);  // the temporary point is one of them
        EXPECT_EQ(std::memcmp(r.senAt(1), &test::kAppSens[1], sizeof(Sen)), 0);
        EXPECT_EQ(std::memcmp(r.enkoAt(0), &test::kAppEnko, sizeof(Enko)), 0);
        EXPECT_EQ(std::memcmp(r.tenAt(1), &test::kAppTens[1], sizeof(Ten)), 0);
        for (int t = 0; t < test::kAppTextCount; ++t) EXPECT_EQ(r.textAt(t), test::kAppTexts[t]);
        EXPECT_EQ(r.mojiAt(3)->TextOffset, 3 + 2 + 5);  // across a segment boundary in the file
        EXPECT_EQ(r.comment2, "\x95\xBD\x96\xCA\x90\x7D");
        EXPECT_EQ(r.temporaryPoints, a.temporaryPoints);
        EXPECT_EQ(r.oldFormat, !a.floatScales);
        EXPECT_EQ(r.layerName(0xFF) + r.groupName(15), "\x95\xC7top floor");
        r.scale = 50;
        EXPECT_EQ(bytesOf(r), test::AppFramedJwc({false, 0x40000000, '\n', 32, a.temporaryPoints}));
    }
}

TEST(JwcAppFiles, FramingDescriptionSaysWhatASaveChanges) {
    using Lines = std::vector<std::pair<std::string, std::string>>;
    TJwcFile app;
    load(app, test::AppFramedJwc({true, 0x1A2BFFF8, '\r', 31, 1, 2305, 0.5f}));
    EXPECT_EQ(FramingLines(DescribeFraming(app)),
              (Lines{{"Group scales", "float table (2421-byte header)"},
                     {"Header line 1", "31 fields"},
                     {"Temporary points", "1"},
                     {"Text pool", "1A2B:FFF8"},
                     {"Header block ends", "CR CR CR CR"},
                     {"Name area", "2305 bytes (1 past the names, not kept)"},
                     {"Kept, not understood", "reserved block (2 of 909 bytes set)"},
                     {"Changed by a save", "group 15 scale 0.5 written as 1"}}));

    TJwcFile d = sample();
    std::string odd = withLine(bytesOf(d), 200, "2,2,3,2,0,3,2,1,1,1,0,3,7,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0,9");
    odd = withLine(odd, 400, "0.5,0.0,3.0,12.0");
    odd[199] = 'A';
    TJwcFile changed;
    load(changed, odd.substr(0, odd.size() - 2000));
    const Lines lines = FramingLines(DescribeFraming(changed));
    EXPECT_EQ(lines[4].second, "0x41 NUL NUL LF");
    EXPECT_EQ(lines[5].second, "304 bytes (short: the names it lacks are blank)");
    EXPECT_EQ(lines[6].second, "nothing");
    EXPECT_EQ(lines[7].second, "header line 1 fields 12, 30, 32; header line 2");
    TJwcFile ours;
    load(ours, bytesOf(d));
    const Lines plain = FramingLines(DescribeFraming(ours));
    EXPECT_EQ(plain[5].second + "; " + plain[7].second, "2304 bytes; nothing beyond the framing");
}

}  // namespace
}  // namespace tavo
