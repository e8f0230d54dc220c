#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <random>

#include "base/byte_source.h"
#include "base/error.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_framing.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"
#include "jwc_app_file.h"

namespace tavo {
namespace {

constexpr std::size_t kTablesEnd = 2389;  // first record of a file with the integer scale table
constexpr std::size_t kNamesSize = 2048 + 256;
constexpr std::size_t kEmptySize = kTablesEnd + kNamesSize;  // 4693

std::string bytesOf(TJwcFile& d) {
    StringSink sink;
    WriteJwc(d, sink);
    return sink.take();
}

// A new drawing set up the way the creators set one up.
TJwcFile created(int32_t paper, int32_t scale) {
    TJwcFile d;
    d.paperSize = paper;
    d.scale = scale;
    ShowAllLayersAndGroups(d);
    for (int g = 0; g < 16; ++g) SetGroupScale(d, g, static_cast<int16_t>(scale));
    return d;
}

// A drawing with two records of every kind and three texts.
TJwcFile sample() {
    TJwcFile d = created(3, 100);
    d.addSen() = Sen{1, 2, 3, 4, 1, 2, 17, 9, 300};
    d.addSen() = Sen{-5.5f, 0, 100, 0.25f, 2, 3, 255, 0, 0};
    d.addEnko() = Enko{10, 20, 5, 10000, 0, 90 * 65536, 0, 1, 2, 17, 0, 0};
    d.addEnko() = Enko{0, 0, 7, 5000, -45 * 65536, 45 * 65536, 30 * 65536, 3, 4, 18, 1, 2};
    const char* texts[] = {"AB", "", "C"};
    int32_t offset = 0;
    for (const char* t : texts) {
        d.addMoji() = Moji{0, 0, 10, 0, offset, 3, 240, 0};
        d.appendText(t);
        offset += static_cast<int32_t>(std::strlen(t)) + 1;
    }
    d.addTen() = Ten{1, 1, 242, 3, 0};
    d.addTen() = Ten{2, 2, 0, 0, 65535};
    d.comment1 = "first comment";
    d.comment2 = "second";
    std::memcpy(d.names.LayerNames[0x21], "wall    ", 8);
    std::memcpy(d.names.GroupNames + 16 * 2, "  ground floor  ", 16);
    d.head.Table.Pen[2] = 1;
    d.head.Table.Width[2] = 25;
    return d;
}

void load(TJwcFile& d, const std::string& bytes, const std::string& name = "test.jwc") {
    MemorySource source(bytes);
    ReadJwc(d, source, name);
}

std::string block(const std::string& file, std::size_t offset, std::size_t size = 200) {
    return file.substr(offset, size);
}

std::string headerText(const std::string& file, std::size_t offset) {
    const std::string b = block(file, offset);
    return b.substr(0, b.find('\0'));
}

TEST(JwcWriter, EmptyA3DrawingGivesTheFixedLayout) {
    TJwcFile d = created(3, 1);
    const std::string f = bytesOf(d);
    ASSERT_EQ(f.size(), 4693u);
    EXPECT_EQ(f.substr(0, 40), "jw_cad(c)data.......a...m...............");
    EXPECT_EQ(f.substr(40, 1), std::string(1, '\0'));  // empty comment 1
    EXPECT_EQ(f.substr(104, 95), std::string(95, ' '));
    EXPECT_EQ(headerText(f, 200), "0,0,0,0,0,3,2,1,1,1,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0");
    EXPECT_EQ(headerText(f, 400),
              "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,200.000,"
              "300.000,500.000,0,0,1");
    EXPECT_EQ(headerText(f, 600),
              "4000:0000,4000:0000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
    for (std::size_t line : {200u, 400u, 600u}) {
        const std::string b = block(f, line);
        const std::size_t nul = b.find('\0');
        EXPECT_EQ(b.substr(nul + 1, 199 - nul - 1), std::string(199 - nul - 1, ' ')) << line;
    }
    for (std::size_t end : {199u, 399u, 599u, 799u}) EXPECT_EQ(f[end], '\n') << end;
    EXPECT_EQ(f.substr(800, 909), std::string(909, '\0'));
    // Group scales 1, all flags 1, base layers 16 × g.
    EXPECT_EQ(f[1797], 1);
    EXPECT_EQ(f[1798], 0);
    EXPECT_EQ(f.substr(1829, 16 + 256), std::string(16 + 256, '\1'));
    EXPECT_EQ(static_cast<unsigned char>(f[2373 + 15]), 240);
    // Names: blanks, and the group names end with a NUL at their byte 255.
    EXPECT_EQ(f.substr(2389, 2048), std::string(2048, ' '));
    EXPECT_EQ(f.substr(2389 + 2048, 255), std::string(255, ' '));
    EXPECT_EQ(f.back(), '\0');
    EXPECT_EQ(test::PeerFramingFaults(f), std::vector<std::string>{});
}

TEST(JwcWriter, HeaderLinesTextAreaAndCommentsFollowTheDrawing) {
    TJwcFile d = created(3, 100);
    d.addSen() = Sen{};
    d.addSen() = Sen{};
    std::string f = bytesOf(d);
    EXPECT_EQ(headerText(f, 200), "2,0,0,0,0,3,2,1,1,100,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0");

    TJwcFile t = created(3, 1);
    for (const char* text : {"AB", "", "C"}) {
        t.addMoji() = Moji{};
        t.appendText(text);
    }
    f = bytesOf(t);
    EXPECT_EQ(headerText(f, 600),
              "4000:0000,4000:0006,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
    EXPECT_EQ(f.substr(kTablesEnd + 3 * 24, 6), std::string("AB\0\0C\0", 6));
    EXPECT_EQ(f.size(), kEmptySize + 3 * 24 + 6);
    // Each record points at its text: pool start 4000:0000 plus the offset.
    const std::string pointers("\0\0\0\x40" "\3\0\0\x40" "\4\0\0\x40", 12);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(f.substr(kTablesEnd + 24 * i + 16, 4), pointers.substr(4 * i, 4)) << i;

    // Text area lengths above 0xFFFF carry into the segment.
    TJwcFile big = created(3, 1);
    big.addMoji() = Moji{};
    big.appendText(std::string(0xFFFF, 'x'));  // plus its NUL: 0x10000
    EXPECT_EQ(headerText(bytesOf(big), 600).substr(0, 20), "4000:0000,4001:0000,");

    // A NUL inside a text ends it; the header counts what is written.
    TJwcFile n = created(3, 1);
    n.addMoji() = Moji{};
    n.appendText(std::string("ab\0cd", 5));
    f = bytesOf(n);
    EXPECT_EQ(headerText(f, 600).substr(0, 20), "4000:0000,4000:0003,");
    EXPECT_EQ(f.substr(kTablesEnd + 24, 3), std::string("ab\0", 3));
    EXPECT_EQ(f.size(), kEmptySize + 24 + 3);

    // A record without a text gets an empty one to point at.
    n.addMoji() = Moji{};
    n.addMoji() = Moji{};
    f = bytesOf(n);
    EXPECT_EQ(headerText(f, 600).substr(0, 20), "4000:0000,4000:0005,");
    EXPECT_EQ(f.substr(kTablesEnd + 3 * 24, 5), std::string("ab\0\0\0", 5));
    EXPECT_EQ(test::PeerFramingFaults(f), std::vector<std::string>{});
    EXPECT_EQ(n.textCount(), 1);  // the drawing keeps what it held
}

TEST(JwcWriter, CommentsAreCutToThirtyTwoBytes) {
    TJwcFile d = created(3, 1);
    d.comment1 = std::string(32, 'a');
    d.comment2 = std::string(33, 'b');
    std::string f = bytesOf(d);
    EXPECT_EQ(f.substr(40, 32), std::string(32, 'a'));
    EXPECT_EQ(f.substr(72, 32), std::string(32, 'b'));
    EXPECT_EQ(f[104], ' ');

    d.head.TitleBlock[40 + 5] = 'Z';  // a stale byte after the comment's NUL stays
    d.comment1 = "abc";
    f = bytesOf(d);
    EXPECT_EQ(f.substr(40, 6), std::string("abc\0aZ", 6));
    // A double-byte character may be split at byte 32.
    d.comment1 = std::string(31, 'a') + "\x82\xA0";
    f = bytesOf(d);
    EXPECT_EQ(f.substr(40, 32), std::string(31, 'a') + "\x82");
}

TEST(JwcReader, RoundTripReproducesTheFileAndEveryRecord) {
    TJwcFile d = sample();
    const std::string first = bytesOf(d);
    TJwcFile r;
    load(r, first);
    EXPECT_EQ(r.senCount(), 2);
    EXPECT_EQ(r.enkoCount(), 2);
    EXPECT_EQ(r.mojiCount(), 3);
    EXPECT_EQ(r.tenCount(), 2);
    ASSERT_EQ(r.textCount(), 3);
    EXPECT_EQ(r.textAt(0), "AB");
    EXPECT_EQ(r.textAt(1), "");
    EXPECT_EQ(r.textAt(2), "C");
    EXPECT_EQ(std::memcmp(r.senAt(1), d.senAt(1), sizeof(Sen)), 0);
    EXPECT_EQ(std::memcmp(r.enkoAt(1), d.enkoAt(1), sizeof(Enko)), 0);
    EXPECT_EQ(+r.mojiAt(2)->TextOffset, 4);  // the offset in the pool, not the pointer the file holds
    EXPECT_EQ(+r.tenAt(1)->SpareWord, 65535);
    EXPECT_EQ(r.comment1, "first comment");
    EXPECT_EQ(r.paperSize, 3);
    EXPECT_EQ(r.scale, 1);
    EXPECT_EQ(r.unitsPerSheet, 518);
    EXPECT_FLOAT_EQ(r.unitDivisor, 420.0f / 518);
    EXPECT_TRUE(r.oldFormat);
    EXPECT_EQ(r.groupScaleInt[5], 100);
    EXPECT_EQ(r.groupScaleFloat[5], 100.0f);
    EXPECT_EQ(r.textAreaLength, 6);
    EXPECT_EQ(r.layerName(0x21), "wall");
    EXPECT_EQ(r.groupName(2), "ground floor");
    EXPECT_EQ(+r.head.Table.Width[2], 25);

    // Saved again at the same scale: byte for byte.
    r.scale = 100;
    EXPECT_EQ(bytesOf(r), first);

    // Loading appends.
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
    } cases[] = {{30.5f, 30}, {31.5f, 32}, {0.5f, 1},  {0.2f, 1},  {0, 0},           {-0.4f, 0},
                 {-3.7f, -4}, {1e9f, 32767}, {-1e9f, -32768}, {HUGE_VALF, 32767}, {NAN, 0}, {250, 250}};
    std::string floats(64, '\0');
    for (std::size_t g = 0; g < std::size(cases); ++g) {
        EXPECT_EQ(WholeScale(cases[g].scale), cases[g].whole) << cases[g].scale;
        std::memcpy(&floats[4 * g], &cases[g].scale, 4);
    }
    TJwcFile d = sample();
    std::string f = bytesOf(d);
    f[22] = '*';
    f.replace(1797, 32, floats);
    TJwcFile r;
    load(r, f);
    EXPECT_FALSE(r.oldFormat);
    for (std::size_t g = 0; g < std::size(cases); ++g) EXPECT_EQ(r.groupScaleInt[g], cases[g].whole) << g;
    EXPECT_EQ(+r.senAt(1)->Y2, 0.25f);  // every later block 32 bytes on
    EXPECT_EQ(r.groupName(2), "ground floor");

    TJwcFile again;
    load(again, bytesOf(r));
    EXPECT_TRUE(again.oldFormat);
    EXPECT_EQ(again.groupScaleFloat[0], 30.0f);
    EXPECT_EQ(again.groupScaleFloat[2], 1.0f);
}

std::string withLine(std::string f, std::size_t offset, const std::string& text) {
    std::string b = text;
    b.resize(200, '\0');
    f.replace(offset, 200, b);
    return f;
}

TEST(JwcReader, HeaderLine1DefaultsAndGuards) {
    TJwcFile d = created(3, 1);
    const std::string f = bytesOf(d);
    struct Case {
        const char* line1;
        int32_t paper;
        int32_t units;
        int32_t temporaryPoints;
    } cases[] = {
        {"0,0,0,0,0,3,2,1,1,1,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0", 2, 518, 0},  // no field 30
        {"0,0,0,0,0,3,2,1,1,1,0", 1, 518, 0},                                             // no field 11
        {"0,0,0,0,0,3,2,1,1,1,0,x,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0", 1, 1036, 0},
        {"0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,0,0", 0, 518, 0},   // would divide by 0
        {"0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,-5,0", 0, 518, 0},
        {"0,0,0,0,3,3,2,1,1,1,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518", 2, 518, 3},  // 31 fields
        {"0,0,0,0,x,3,2,1,1,1,0,2", 2, 518, 0},
        {"", 1, 518, 0},
    };
    for (const Case& c : cases) {
        TJwcFile r;
        load(r, withLine(f, 200, c.line1));
        EXPECT_EQ(r.paperSize, c.paper) << c.line1;
        EXPECT_EQ(r.unitsPerSheet, c.units) << c.line1;
        EXPECT_EQ(r.temporaryPoints, c.temporaryPoints) << c.line1;
        EXPECT_TRUE(std::isfinite(r.unitDivisor) && r.unitDivisor > 0) << c.line1;
        // A save writes the temporary points back in field 4, never more
        // than there are points (none here).
        EXPECT_EQ(headerText(bytesOf(r), 200).substr(0, 10), "0,0,0,0,0,") << c.line1;
    }
    TJwcFile r;
    load(r, withLine(f, 200, "0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0"));
    EXPECT_FLOAT_EQ(r.unitDivisor, 1189.0f / 1036);
}

TEST(JwcReader, MalformedHeaderLine3StopsBeforeAnyRecord) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    for (const char* line3 : {"4000:0000", "4000:0000,5F6D", "4000:0000,5G6D:0006", "4000:0000,:0006",
                              "4000:0000,4000:+006", ""}) {
        TJwcFile r;
        try {
            load(r, withLine(f, 600, line3), "bad.jwc");
            ADD_FAILURE() << "loaded with line 3 \"" << line3 << "\"";
        } catch (const Error& e) {
            EXPECT_EQ(e.file(), "bad.jwc");
            EXPECT_NE(e.detail().find("header line 3"), std::string::npos) << e.detail();
        }
        EXPECT_EQ(r.senCount() + r.mojiCount(), 0) << line3;
    }
    // Short low part: as many digits as there are.
    TJwcFile r;
    load(r, withLine(f, 600, "4000:0,4000:6"));
    EXPECT_EQ(r.textCount(), 3);

    // A negative length fails at the text area, after the records.
    TJwcFile neg;
    EXPECT_THROW(load(neg, withLine(f, 600, "4000:0006,4000:0000")), Error);
    EXPECT_EQ(neg.mojiCount(), 3);
    EXPECT_EQ(neg.textCount(), 0);
}

TEST(JwcReader, EveryTruncationEndsInACleanErrorThatSaysWhere) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    // A short or missing name area loads with blank names; anything cut
    // before it is an error.
    const std::size_t namesStart = f.size() - kNamesSize;
    for (std::size_t cut = 0; cut < f.size(); ++cut) {
        TJwcFile r;
        try {
            load(r, f.substr(0, cut), "cut.jwc");
            EXPECT_GE(cut, namesStart);
            EXPECT_EQ(r.nameAreaBytes, cut - namesStart);
            const std::size_t wallAt = namesStart + 0x21 * 8;  // what is there of "wall    "
            EXPECT_EQ(r.layerName(0x21), std::string("wall").substr(0, cut > wallAt ? cut - wallAt : 0)) << cut;
            EXPECT_EQ(r.tenCount(), 2);
        } catch (const Error& e) {
            EXPECT_LT(cut, namesStart);
            EXPECT_EQ(e.detail().rfind("file ends at byte " + std::to_string(cut) + ",", 0), 0u) << e.detail();
        }
        // Only whole records are kept, each kind after the ones before it.
        const std::size_t linesEnd = kTablesEnd + 2 * 22;
        const std::size_t expectLines = cut < kTablesEnd ? 0 : std::min<std::size_t>(2, (cut - kTablesEnd) / 22);
        EXPECT_EQ(r.senCount(), static_cast<int32_t>(expectLines)) << cut;
        if (cut < linesEnd) {
            EXPECT_EQ(r.enkoCount(), 0) << cut;
        }
    }
    // The message names the record.
    TJwcFile r;
    try {
        load(r, f.substr(0, kTablesEnd + 22 + 10));
    } catch (const Error& e) {
        EXPECT_EQ(e.detail(), "file ends at byte " + std::to_string(kTablesEnd + 32) +
                                  ", 12 more bytes needed for line record 2 of 2");
    }
}

// Files cut, flipped and stretched where it hurts: every one loads or fails
// with a message, and what it takes stays within a small multiple of its size.
TEST(JwcReader, MangledFilesNeverCrashOrBalloon) {
    TJwcFile d = sample();
    const std::string good = bytesOf(d);
    std::mt19937 random(7);
    const auto number = [&] {
        static const char* const kNumbers[] = {"0", "-1", "2147483647", "-2147483648", "99999999999", "x", "", "1e9"};
        return std::string(kNumbers[random() % 8]);
    };
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string f = good;
        switch (round % 6) {
            case 0: f.resize(random() % f.size()); break;
            case 1:
                for (int k = 0; k < 8; ++k) f[random() % f.size()] = static_cast<char>(random());
                break;
            case 2:
                f = withLine(f, 200, number() + "," + number() + "," + number() + "," + number() + ",0,3,2,1,1,1,0," +
                                         number() + std::string(",1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,") + number());
                break;
            case 3: f = withLine(f, 600, "4000:" + std::to_string(random() % 10000) + ",7FFF:FFFF"); break;
            case 4: f.insert(random() % f.size(), std::string(random() % 5000, static_cast<char>(random()))); break;
            default: f[22] = static_cast<char>(random()); break;
        }
        TJwcFile r;
        try {
            load(r, f);
            ++loaded;
        } catch (const Error& e) {
            EXPECT_FALSE(e.detail().empty());
        }
        EXPECT_LE(r.heldBytes(), 2 * f.size() + 4096) << "round " << round;
    }
    EXPECT_GT(loaded, 100);
}

TEST(JwcReader, TextAreaWithoutClosingNulAndExtraTexts) {
    TJwcFile d = created(3, 1);
    d.addMoji() = Moji{};
    d.addMoji() = Moji{};
    d.appendText("AB");
    d.appendText("C");
    std::string f = bytesOf(d);
    // Drop the final NUL and declare 4 bytes.
    f.erase(kTablesEnd + 48 + 4, 1);
    TJwcFile r;
    load(r, withLine(f, 600, "4000:0000,4000:0004"));
    ASSERT_EQ(r.textCount(), 2);
    EXPECT_EQ(r.textAt(1), "C");
    EXPECT_EQ(bytesOf(r).substr(kTablesEnd + 48, 5), std::string("AB\0C\0", 5));
}

// What the fixtures of jwc_app_file.h hold, as the reader must see it.
void expectAppDrawing(const TJwcFile& r, const test::AppFraming& a) {
    ASSERT_EQ(r.senCount(), 2);
    ASSERT_EQ(r.enkoCount(), 1);
    ASSERT_EQ(r.mojiCount(), test::kAppTextCount);
    ASSERT_EQ(r.tenCount(), 2);  // the temporary point is one of them
    ASSERT_EQ(r.textCount(), test::kAppTextCount);
    EXPECT_EQ(std::memcmp(r.senAt(1), &test::kAppSens[1], sizeof(Sen)), 0);
    EXPECT_EQ(std::memcmp(r.enkoAt(0), &test::kAppEnko, sizeof(Enko)), 0);
    EXPECT_EQ(std::memcmp(r.tenAt(1), &test::kAppTens[1], sizeof(Ten)), 0);
    for (int i = 0; i < test::kAppTextCount; ++i) EXPECT_EQ(r.textAt(i), test::kAppTexts[i]) << i;
    EXPECT_EQ(r.mojiAt(3)->TextOffset, 3 + 2 + 5);  // across a segment boundary in the file
    EXPECT_EQ(+r.mojiAt(2)->Flags, 32);
    EXPECT_EQ(r.comment1, "app comment");
    EXPECT_EQ(r.comment2, "\x95\xBD\x96\xCA\x90\x7D");
    EXPECT_EQ(r.paperSize, 2);
    EXPECT_EQ(r.unitsPerSheet, 518);
    EXPECT_EQ(r.temporaryPoints, a.temporaryPoints);
    EXPECT_EQ(r.oldFormat, !a.floatScales);
    EXPECT_EQ(r.groupScaleFloat[1], 50.0f);
    EXPECT_EQ(r.groupScaleFloat[15], a.floatScales ? a.group15Scale : 500.0f);
    EXPECT_EQ(r.groupScaleInt[15], a.floatScales ? WholeScale(a.group15Scale) : 500);
    EXPECT_EQ(+r.head.Table.Width[10], 70);
    EXPECT_EQ(+r.head.Reserved[0], 7);
    EXPECT_EQ(+r.tables.GroupDisplay[3], 0);
    EXPECT_EQ(+r.tables.LayerDisplay[2], 0);
    EXPECT_EQ(+r.tables.GroupBaseLayer[2], 33);
    EXPECT_EQ(r.nameAreaBytes, a.nameAreaBytes);
    const bool allNames = a.nameAreaBytes >= kNamesSize;
    EXPECT_EQ(r.layerName(0x21), a.nameAreaBytes >= 0x22 * 8 ? "wall" : "");
    EXPECT_EQ(r.layerName(0xFF), allNames ? "\x95\xC7" : "");
    EXPECT_EQ(r.groupName(2), allNames ? "ground floor" : "");
    EXPECT_EQ(r.groupName(15), allNames ? "top floor" : "");
}

// Everything a load and save must keep.
void expectSameDrawing(const TJwcFile& back, const TJwcFile& r) {
    ASSERT_EQ(back.senCount(), r.senCount());
    ASSERT_EQ(back.enkoCount(), r.enkoCount());
    ASSERT_EQ(back.mojiCount(), r.mojiCount());
    ASSERT_EQ(back.tenCount(), r.tenCount());
    ASSERT_EQ(back.textCount(), r.textCount());
    for (int32_t i = 0; i < r.senCount(); ++i) EXPECT_EQ(std::memcmp(back.senAt(i), r.senAt(i), sizeof(Sen)), 0);
    for (int32_t i = 0; i < r.enkoCount(); ++i) EXPECT_EQ(std::memcmp(back.enkoAt(i), r.enkoAt(i), sizeof(Enko)), 0);
    for (int32_t i = 0; i < r.tenCount(); ++i) EXPECT_EQ(std::memcmp(back.tenAt(i), r.tenAt(i), sizeof(Ten)), 0);
    for (int32_t i = 0; i < r.mojiCount(); ++i) {
        EXPECT_EQ(std::memcmp(back.mojiAt(i), r.mojiAt(i), sizeof(Moji)), 0) << i;
        EXPECT_EQ(back.textAt(i), r.textAt(i));
    }
    EXPECT_EQ(std::memcmp(back.groupScaleInt, r.groupScaleInt, sizeof r.groupScaleInt), 0);
    EXPECT_EQ(std::memcmp(back.groupScaleFloat, r.groupScaleFloat, sizeof r.groupScaleFloat), 0);
    EXPECT_EQ(std::memcmp(&back.tables, &r.tables, sizeof r.tables), 0);
    EXPECT_EQ(std::memcmp(&back.names, &r.names, sizeof r.names), 0);
    EXPECT_EQ(std::memcmp(&back.head.Table, &r.head.Table, sizeof r.head.Table), 0);
    EXPECT_EQ(std::memcmp(back.head.Reserved, r.head.Reserved, sizeof r.head.Reserved), 0);
    EXPECT_EQ(back.comment1, r.comment1);
    EXPECT_EQ(back.comment2, r.comment2);
    EXPECT_EQ(back.paperSize, r.paperSize);
    EXPECT_EQ(back.temporaryPoints, r.temporaryPoints);
}

// Files framed as JW_CAD saves them load whole; saved by us they pass a peer
// reader's framing rules and load back the same.
TEST(JwcAppFiles, LoadAndSaveBackInEveryFraming) {
    for (bool floats : {false, true})
        for (uint32_t pool : {0x40000000u, 0x5F6D0000u, 0x1A2BFFF8u})
            for (char end : {'\n', '\r', '\0'})
                for (int fields : {31, 32})
                    for (std::size_t names : {2304u, 2305u, 1000u, 0u}) {
                        test::AppFraming a;
                        a.floatScales = floats;
                        a.poolStart = pool;
                        a.blockEnd = end;
                        a.line1Fields = fields;
                        a.temporaryPoints = fields == 31 ? 1 : 0;
                        a.nameAreaBytes = names;
                        SCOPED_TRACE(::testing::Message() << "floats " << floats << " pool " << std::hex << pool
                                                          << " end " << int(end) << std::dec << " fields " << fields
                                                          << " names " << names);
                        TJwcFile r;
                        load(r, test::AppFramedJwc(a));
                        expectAppDrawing(r, a);
                        const std::string saved = bytesOf(r);
                        EXPECT_EQ(test::PeerFramingFaults(saved), std::vector<std::string>{});
                        TJwcFile back;
                        load(back, saved);
                        expectSameDrawing(back, r);
                        EXPECT_EQ(bytesOf(back), saved);
                    }
}

// This system's files before the application's framing (NUL block ends, a
// CR in header line 2, 2305 bytes of names, plain text offsets) read as
// they always did, and save as today's do.
TEST(JwcAppFiles, FilesWrittenBeforeReadTheSame) {
    TJwcFile d = sample();
    const std::string today = bytesOf(d);
    std::string before = today;
    for (std::size_t end : {199u, 399u, 599u, 799u}) before[end] = '\0';
    before.replace(400 + 112, 2, std::string("\r\0", 2));
    const int32_t plain[] = {0, 3, 4};
    for (std::size_t i = 0; i < 3; ++i) std::memcpy(&before[kTablesEnd + 2 * 22 + 2 * 32 + 24 * i + 16], &plain[i], 4);
    before += ' ';
    ASSERT_EQ(before.size(), today.size() + 1);

    TJwcFile a;
    TJwcFile b;
    load(a, before);
    load(b, today);
    EXPECT_EQ(a.nameAreaBytes, kNamesSize + 1);
    EXPECT_EQ(+a.mojiAt(2)->TextOffset, 4);
    EXPECT_EQ(a.textCount(), 3);
    EXPECT_EQ(a.layerName(0x21), "wall");
    EXPECT_EQ(a.groupName(2), "ground floor");
    a.scale = b.scale = 100;
    EXPECT_EQ(bytesOf(b), today);
    // Past its NUL a header line keeps what the block held: here the old NUL.
    std::string expected = today;
    expected[400 + 113] = '\0';
    EXPECT_EQ(bytesOf(a), expected);
}

TEST(JwcAppFiles, FramingDescriptionSaysWhatASaveChanges) {
    using Lines = std::vector<std::pair<std::string, std::string>>;
    test::AppFraming a;
    a.floatScales = true;
    a.group15Scale = 0.5f;
    a.blockEnd = '\r';
    a.nameAreaBytes = 2305;
    TJwcFile app;
    load(app, test::AppFramedJwc(a));
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
    TJwcFile ours;
    load(ours, bytesOf(d));
    EXPECT_EQ(FramingLines(DescribeFraming(ours)),
              (Lines{{"Group scales", "integer table (2389-byte header)"},
                     {"Header line 1", "32 fields"},
                     {"Temporary points", "0"},
                     {"Text pool", "4000:0000"},
                     {"Header block ends", "LF LF LF LF"},
                     {"Name area", "2304 bytes"},
                     {"Kept, not understood", "nothing"},
                     {"Changed by a save", "nothing beyond the framing"}}));

    std::string odd = withLine(bytesOf(d), 200, "2,2,3,2,0,3,2,1,1,1,0,3,7,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0,9");
    odd = withLine(odd, 400, "0.5,0.0,3.0,12.0");
    odd[199] = 'A';
    TJwcFile changed;
    load(changed, odd.substr(0, odd.size() - 2000));
    const Lines lines = FramingLines(DescribeFraming(changed));
    EXPECT_EQ(lines[4].second, "0x41 NUL NUL LF");
    EXPECT_EQ(lines[5].second, "304 bytes (short: the names it lacks are blank)");
    EXPECT_EQ(lines[7].second, "header line 1 fields 12, 30, 32; header line 2");
}

}  // namespace
}  // namespace tavo
