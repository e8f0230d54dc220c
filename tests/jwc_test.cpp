#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "base/byte_source.h"
#include "base/error.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"
#include "test_support.h"

namespace tavo {
namespace {

constexpr std::size_t kTablesEnd = 2389;  // first record of a file with the integer scale table
constexpr std::size_t kNamesSize = 2048 + 257;

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

TEST(JwcModel, ANewDrawingIsEmptyWithBlankHeadersAndNames) {
    TJwcFile d;
    EXPECT_EQ(d.senCount() + d.enkoCount() + d.mojiCount() + d.tenCount() + d.textCount(), 0);
    EXPECT_EQ(d.comment1, "");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(d.head.TitleBlock), 200), std::string(200, '\0'));
    EXPECT_EQ(std::string(d.head.Line1, 200), std::string(200, ' '));
    EXPECT_EQ(std::string(d.head.Line3, 200), std::string(200, ' '));
    EXPECT_EQ(d.layerName(0), "");
    EXPECT_EQ(d.groupName(15), "");
    EXPECT_EQ(d.senAt(-1), nullptr);
    EXPECT_EQ(d.senAt(0), nullptr);
    d.addSen() = Sen{};
    EXPECT_NE(d.senAt(0), nullptr);
    EXPECT_EQ(d.senAt(1), nullptr);
    EXPECT_EQ(d.paperSize + d.scale + d.textAreaLength + d.unitsPerSheet, 0);
}

TEST(JwcWriter, EmptyA3DrawingGivesTheFixedLayout) {
    TJwcFile d = created(3, 1);
    const std::string f = bytesOf(d);
    ASSERT_EQ(f.size(), 4694u);
    EXPECT_EQ(f.substr(0, 40), "jw_cad(c)data.......a...m...............");
    EXPECT_EQ(f.substr(40, 1), std::string(1, '\0'));  // empty comment 1
    EXPECT_EQ(f.substr(104, 95), std::string(95, ' '));
    EXPECT_EQ(f[199], '\0');
    EXPECT_EQ(headerText(f, 200), "0,0,0,0,0,3,2,1,1,1,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0");
    EXPECT_EQ(headerText(f, 400),
              "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,20.000,1000.000,100.000,200.000,"
              "300.000,500.000,0,0,1\r");
    EXPECT_EQ(headerText(f, 600),
              "5F6D:0000,5F6D:0000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
    for (std::size_t line : {200u, 400u, 600u}) {
        const std::string b = block(f, line);
        const std::size_t nul = b.find('\0');
        EXPECT_EQ(b.substr(nul + 1, 199 - nul - 1), std::string(199 - nul - 1, ' ')) << line;
        EXPECT_EQ(b[199], '\0');
    }
    EXPECT_EQ(f.substr(800, 909), std::string(909, '\0'));
    // Group scales 1, all flags 1, base layers 16 × g.
    EXPECT_EQ(f[1797], 1);
    EXPECT_EQ(f[1798], 0);
    EXPECT_EQ(f.substr(1829, 16 + 256), std::string(16 + 256, '\1'));
    EXPECT_EQ(static_cast<unsigned char>(f[2373 + 15]), 240);
    // Names: blanks, but byte 255 of the group names is 0.
    EXPECT_EQ(f.substr(2389, 2048), std::string(2048, ' '));
    EXPECT_EQ(f.substr(2389 + 2048, 255), std::string(255, ' '));
    EXPECT_EQ(f[2389 + 2048 + 255], '\0');
    EXPECT_EQ(f[2389 + 2048 + 256], ' ');
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
              "5F6D:0000,5F6D:0006,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
    EXPECT_EQ(f.substr(kTablesEnd + 3 * 24, 6), std::string("AB\0\0C\0", 6));
    EXPECT_EQ(f.size(), 4694u + 3 * 24 + 6);

    // Text area lengths above 0xFFFF carry into the segment.
    TJwcFile big = created(3, 1);
    big.addMoji() = Moji{};
    big.appendText(std::string(0xFFFF, 'x'));  // plus its NUL: 0x10000
    EXPECT_EQ(headerText(bytesOf(big), 600).substr(0, 20), "5F6D:0000,5F6E:0000,");

    // A NUL inside a text ends it; the header counts what is written.
    TJwcFile n = created(3, 1);
    n.addMoji() = Moji{};
    n.appendText(std::string("ab\0cd", 5));
    f = bytesOf(n);
    EXPECT_EQ(headerText(f, 600).substr(0, 20), "5F6D:0000,5F6D:0003,");
    EXPECT_EQ(f.substr(kTablesEnd + 24, 3), std::string("ab\0", 3));
    EXPECT_EQ(f.size(), 4694u + 24 + 3);
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
    EXPECT_EQ(+r.mojiAt(2)->TextOffset, 4);
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

TEST(JwcReader, FloatScaleTableMovesEveryLaterBlock) {
    TJwcFile d = sample();
    std::string f = bytesOf(d);
    f[22] = '*';
    std::string floats(64, '\0');
    for (int g = 0; g < 16; ++g) {
        const float s = 10.0f * static_cast<float>(g) + 0.5f;
        std::memcpy(&floats[static_cast<std::size_t>(4 * g)], &s, 4);
    }
    f.replace(1797, 32, floats);
    TJwcFile r;
    r.groupScaleInt[3] = 77;
    load(r, f);
    EXPECT_FALSE(r.oldFormat);
    EXPECT_EQ(r.groupScaleFloat[3], 30.5f);
    EXPECT_EQ(r.groupScaleInt[3], 77);  // the integer table keeps what it held
    EXPECT_EQ(r.senCount(), 2);
    EXPECT_EQ(+r.senAt(1)->Y2, 0.25f);
    EXPECT_EQ(r.textAt(0), "AB");
    EXPECT_EQ(+r.tenAt(1)->SpareWord, 65535);
    EXPECT_EQ(r.groupName(2), "ground floor");
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
    } cases[] = {
        {"0,0,0,0,0,3,2,1,1,1,0,2,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0", 2, 518},  // no field 30
        {"0,0,0,0,0,3,2,1,1,1,0", 1, 518},                                             // no field 11
        {"0,0,0,0,0,3,2,1,1,1,0,x,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0", 1, 1036},
        {"0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,0,0", 0, 518},   // would divide by 0
        {"0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,-5,0", 0, 518},
        {"", 1, 518},
    };
    for (const Case& c : cases) {
        TJwcFile r;
        load(r, withLine(f, 200, c.line1));
        EXPECT_EQ(r.paperSize, c.paper) << c.line1;
        EXPECT_EQ(r.unitsPerSheet, c.units) << c.line1;
        EXPECT_TRUE(std::isfinite(r.unitDivisor) && r.unitDivisor > 0) << c.line1;
    }
    TJwcFile r;
    load(r, withLine(f, 200, "0,0,0,0,0,3,2,1,1,1,0,0,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,1036,0"));
    EXPECT_FLOAT_EQ(r.unitDivisor, 1189.0f / 1036);
}

TEST(JwcReader, MalformedHeaderLine3StopsBeforeAnyRecord) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    for (const char* line3 : {"5F6D:0000", "5F6D:0000,5F6D", "5F6D:0000,5G6D:0006", "5F6D:0000,:0006",
                              "5F6D:0000,5F6D:+006", ""}) {
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
    load(r, withLine(f, 600, "5F6D:0,5F6D:6"));
    EXPECT_EQ(r.textCount(), 3);

    // A negative length fails at the text area, after the records.
    TJwcFile neg;
    EXPECT_THROW(load(neg, withLine(f, 600, "5F6D:0006,5F6D:0000")), Error);
    EXPECT_EQ(neg.mojiCount(), 3);
    EXPECT_EQ(neg.textCount(), 0);
}

TEST(JwcReader, EveryTruncationEndsInACleanErrorThatSaysWhere) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    for (std::size_t cut = 0; cut < f.size(); ++cut) {
        TJwcFile r;
        try {
            load(r, f.substr(0, cut), "cut.jwc");
            ADD_FAILURE() << "loaded a file cut at " << cut;
        } catch (const Error& e) {
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

TEST(JwcReader, CountsBeyondTheFileAreNeverTrusted) {
    TJwcFile d = sample();
    const std::string f = bytesOf(d);
    TJwcFile r;
    EXPECT_THROW(load(r, withLine(f, 200, "2000000000,0,0,0,0,3,2,1,1,1,0,3")), Error);
    // Everything after the header reads as line records: only whole ones.
    EXPECT_EQ(r.senCount(), static_cast<int32_t>((f.size() - kTablesEnd) / 22));
    EXPECT_LE(r.sens().capacityBytes(), f.size());  // what the file holds, not what it claims

    TJwcFile t;
    EXPECT_THROW(load(t, withLine(f, 600, "5F6D:0000,7FFF:FFFF")), Error);
    EXPECT_EQ(t.mojiCount(), 3);
    EXPECT_EQ(t.textCount(), 0);
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
            case 3: f = withLine(f, 600, "5F6D:" + std::to_string(random() % 10000) + ",7FFF:FFFF"); break;
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
    load(r, withLine(f, 600, "5F6D:0000,5F6D:0004"));
    ASSERT_EQ(r.textCount(), 2);
    EXPECT_EQ(r.textAt(1), "C");
    EXPECT_EQ(bytesOf(r).substr(kTablesEnd + 48, 5), std::string("AB\0C\0", 5));
}

TEST(JwcReader, AMissingFileNamesTheFile) {
    TJwcFile r;
    try {
        LoadJwcFile(r, "/nonexistent/plan.jwc");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.file(), "/nonexistent/plan.jwc");
        EXPECT_NE(e.message().find("/nonexistent/plan.jwc"), std::string::npos);
    }
}

TEST(JwcFile, SavesToDiskWithBackup) {
    test::TempDir dir;
    TJwcFile d = sample();
    SaveJwcFile(d, dir.file("a.jwc"));
    const std::string first = test::readFile(dir.file("a.jwc"));
    d.addTen() = Ten{};
    SaveJwcFile(d, dir.file("a.jwc"));
    EXPECT_EQ(test::readFile(dir.file("a.bak")), first);
    TJwcFile r;
    LoadJwcFile(r, dir.file("a.jwc"));
    EXPECT_EQ(r.tenCount(), 3);
    EXPECT_EQ(dir.listing(), "a.bak a.jwc ");
}

}  // namespace
}  // namespace tavo
