// The audit of .jwc files: each fault planted in a copy of a clean file is
// found where it lies, and a file cut anywhere is a finding, not a failure.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>

#include "base/byte_source.h"
#include "jwc/jwc_audit.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_writer.h"

namespace tavo {
namespace {

constexpr int32_t kDegree = 65536;
constexpr uint64_t kLines = 2389;  // the first record, with the integer scale table
constexpr uint64_t kArcs = kLines + 2 * 22;
constexpr uint64_t kTexts = kArcs + 2 * 32;
constexpr uint64_t kPool = kTexts + 3 * 24;
constexpr uint64_t kPoints = kPool + 9;  // "AB", "CDE", "F", each with its NUL

// Two records of every kind but three texts, with values every reader takes.
struct Records {
    std::vector<Sen> sens{{0, 0, 100, 0, 1, 1, 0, 0, 0}, {0, 0, 0, 100, 0x29, 9, 17, 0, 0}};  // type 9, high bits set
    std::vector<Enko> enkos{{50, 50, 10, 10000, 0, 0, 0, 1, 2, 0, 0, 0},
                            {50, 50, 10, 5000, 270 * kDegree, 90 * kDegree, kWholeTurnFixed - 1, 9, 3, 0, 0, 0}};
    std::vector<Moji> mojis{{0, 0, 10, 0, 0, 3, 0, 0}, {0, 0, 10, 0, 0, 3, 0, 0}, {0, 0, 0, 10, 0, 10, 0, 32}};
    std::vector<std::string> texts{"AB", "CDE", "F"};
    std::vector<Ten> tens{{1, 1, 0, 1, 0}, {2, 2, 0, 9, 0}};
    int32_t temporaryPoints = 0;
    MojiTable table = [] {
        MojiTable t{};
        for (int row : {3, 10}) t.Pen[row] = 2, t.Width[row] = t.Height[row] = 30;
        return t;
    }();
};

std::string bytesOf(const Records& r) {
    TJwcFile d;
    d.paperSize = 3;
    d.scale = 100;
    ShowAllLayersAndGroups(d);
    for (const Sen& s : r.sens) d.addSen() = s;
    for (const Enko& e : r.enkos) d.addEnko() = e;
    for (const Moji& m : r.mojis) d.addMoji() = m;
    for (const std::string& t : r.texts) d.appendText(t);
    for (const Ten& t : r.tens) d.addTen() = t;
    d.temporaryPoints = r.temporaryPoints;
    d.head.Table = r.table;
    StringSink sink;
    WriteJwc(d, sink);
    return sink.take();
}

JwcAudit audit(const std::string& file) {
    MemorySource source(file);
    return AuditJwc(source);
}

using Where = std::tuple<AuditCode, uint64_t, AuditRecord, int64_t>;

std::vector<Where> where(const JwcAudit& a) {
    std::vector<Where> out;
    for (const AuditFinding& f : a.findings) out.emplace_back(f.code, f.offset, f.record, f.index);
    return out;
}

void putLine(std::string& file, std::size_t at, const std::string& text) {
    std::string block = text + '\0';
    block.resize(199, ' ');
    file.replace(at, 199, block);
}

void putU32(std::string& file, std::size_t at, uint32_t value) { std::memcpy(&file[at], &value, 4); }

TEST(JwcAudit, FindsEachPlantedFaultWhereItLies) {
    const std::string good = bytesOf(Records());
    ASSERT_TRUE(audit(good).clean()) << audit(good).findings[0].message;
    const uint64_t size = good.size();
    const AuditRecord none = AuditRecord::None;

    using Drawing = std::function<void(Records&)>;
    using Bytes = std::function<void(std::string&)>;
    const struct Case {
        const char* fault;
        Drawing drawing;
        Bytes bytes;
        std::vector<Where> found;
        const char* says = "";  // in a finding's message
    } cases[] = {
        {"title", {}, [](std::string& f) { f[0] = 'J'; }, {{AuditCode::Title, 0, none, -1}}},
        {"block end", {}, [](std::string& f) { f[399] = '\0'; }, {{AuditCode::FramingLf, 399, none, -1}}},
        {"control byte in header line 2", {}, [](std::string& f) { f[405] = '\r'; },
         {{AuditCode::HeaderText, 405, none, -1}}},
        {"more temporary points than points", {},
         [](std::string& f) { putLine(f, 200, "2,2,3,2,3,3,2,1,1,100,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0"); },
         {{AuditCode::HeaderFields, 200, none, -1}}},
        {"a count that is no number", {},
         [](std::string& f) { putLine(f, 200, "2,2,3,2,\x95\x53,3,2,1,1,100,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,518,0"); },
         {{AuditCode::HeaderFields, 200, none, -1}, {AuditCode::HeaderText, 208, none, -1}},
         "is \"\\x95S\", not a whole number"},
        {"no units across the sheet", {},
         [](std::string& f) { putLine(f, 200, "2,2,3,2,0,3,2,1,1,100,0,3,1,1,5.0,5.0,5,10,0,0,0,0,1,2,3,9,9,0,0,0,0,0"); },
         {{AuditCode::HeaderFields, 200, none, -1}}},
        {"unreadable pool addresses", {}, [](std::string& f) { putLine(f, 600, "4000:0000,40G0:0008"); },
         {{AuditCode::HeaderFields, 600, none, -1}}},
        {"a byte too many", {}, [](std::string& f) { f += '\0'; }, {{AuditCode::FileSize, size, none, -1}}},
        {"names without their NUL", {}, [](std::string& f) { f.back() = ' '; },
         {{AuditCode::NameUnterminated, size - 1, none, -1}}},
        {"pool in segment 5F6D", {},
         [](std::string& f) {
             putLine(f, 600, "5F6D:0000,5F6D:0009,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
             for (uint32_t i = 0, offset = 0; i < 3; offset += i == 0 ? 3 : 4, ++i)
                 putU32(f, kTexts + 24 * i + 16, 0x5F6D0000 + offset);
         },
         {{AuditCode::PoolSegment, 600, none, -1}}},
        {"a reference beside its text", {}, [](std::string& f) { putU32(f, kTexts + 24 + 16, 0x40000004); },
         {{AuditCode::PoolRef, kTexts + 24 + 16, AuditRecord::Text, 1}}},
        {"a text more in the pool", {},
         [](std::string& f) { f.insert(kPoints, std::string("G\0", 2)), putLine(f, 600, "4000:0000,4000:000B"); },
         {{AuditCode::PoolExtra, kPoints, none, -1}}},
        {"the last text without its NUL", {},
         [](std::string& f) { f.erase(kPoints - 1, 1), putLine(f, 600, "4000:0000,4000:0008"); },
         {{AuditCode::PoolTexts, kPoints - 2, none, -1}}},
        {"texts missing from the pool", {},
         [](std::string& f) { f.erase(kPool + 3, 6), putLine(f, 600, "4000:0000,4000:0003"); },
         {{AuditCode::PoolTexts, kTexts + 24, AuditRecord::Text, 1}}},
        {"arc angles outside a turn", [](Records& r) { r.enkos[1].StartAngle = -90 * kDegree, r.enkos[1].Tilt = kWholeTurnFixed; },
         {}, {{AuditCode::AngleRange, kArcs + 32 + 14, AuditRecord::Arc, 1}}},
        {"end angle of 360 degrees", [](Records& r) { r.enkos[0].EndAngle = kWholeTurnFixed; }, {},
         {{AuditCode::AngleRange, kArcs + 18, AuditRecord::Arc, 0}}},
        {"pens 0 and 10", [](Records& r) { r.sens[0].Color = 0, r.tens[1].Color = 10; }, {},
         {{AuditCode::PenRange, kLines + 17, AuditRecord::Line, 0}, {AuditCode::PenRange, kPoints + 12 + 9, AuditRecord::Point, 1}}},
        {"line types 0 and 0x1A", [](Records& r) { r.sens[1].LineType = 0, r.enkos[0].LineType = 0x1A; }, {},
         {{AuditCode::LineTypeRange, kLines + 22 + 16, AuditRecord::Line, 1},
          {AuditCode::LineTypeRange, kArcs + 26, AuditRecord::Arc, 0}}},
        {"text sizes 0 and 11", [](Records& r) { r.mojis[0].MojiNo = 0, r.mojis[1].MojiNo = 11; }, {},
         {{AuditCode::TextSizeRange, kTexts + 20, AuditRecord::Text, 0},
          {AuditCode::TextSizeRange, kTexts + 24 + 20, AuditRecord::Text, 1}}},
        {"a zero-length base line", [](Records& r) { r.mojis[1].X2 = 0; }, {},
         {{AuditCode::TextBaseline, kTexts + 24, AuditRecord::Text, 1}}},
        {"a row of the text-size table without pen and height",
         [](Records& r) { r.table.Pen[10] = 0, r.table.Height[10] = 0; }, {},
         {{AuditCode::TableRow, 1709 + 20, AuditRecord::TableRow, 10}}},
        {"an unused row may stay empty", [](Records& r) { r.table.Pen[4] = 0; }, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Records r;
        if (c.drawing) c.drawing(r);
        std::string file = bytesOf(r);
        if (c.bytes) c.bytes(file);
        const JwcAudit a = audit(file);
        EXPECT_EQ(where(a), c.found);
        std::string messages;
        for (const AuditFinding& f : a.findings) messages += f.message + "\n";
        EXPECT_NE(messages.find(c.says), std::string::npos) << messages;
        EXPECT_EQ(a.total(), a.findings.size());
    }
}

// Files our writers keep writing when asked, and a reader's limits: an
// empty text, a pool past 64 KiB, more records or temporary points than
// JW_CAD took.
TEST(JwcAudit, EmptyTextsAndTheLimitsReadersKeep) {
    Records r;
    r.texts.emplace_back();
    r.mojis.push_back(r.mojis[0]);
    EXPECT_EQ(where(audit(bytesOf(r))),
              (std::vector<Where>{{AuditCode::TextEmpty, kPool + 24 + 9, AuditRecord::Text, 3}}));

    r.texts.emplace_back(65536, 'x');
    r.mojis.push_back(r.mojis[0]);
    r.sens.resize(100001, r.sens[0]);
    r.tens.resize(101, r.tens[0]);
    r.temporaryPoints = 101;
    const JwcAudit a = audit(bytesOf(r));
    const auto count = [&](AuditCode code) { return a.counts[static_cast<std::size_t>(code)]; };
    EXPECT_EQ(count(AuditCode::PoolLimit), 1u);
    EXPECT_EQ(count(AuditCode::CountLimit), 2u);  // lines and temporary points
    EXPECT_EQ(count(AuditCode::TextEmpty), 1u);
    EXPECT_EQ(a.total(), 4u);
    EXPECT_EQ(a.count(AuditSeverity::Warning), 3u);
    EXPECT_EQ(a.count(AuditSeverity::Error), 1u);

    // A hundred findings of a code are listed, all are counted.
    Records many;
    many.sens.resize(152, Sen{0, 0, 1, 0, 1, 0, 0, 0, 0});
    const JwcAudit pens = audit(bytesOf(many));
    EXPECT_EQ(pens.counts[static_cast<std::size_t>(AuditCode::PenRange)], 150u);
    EXPECT_EQ(pens.findings.size(), kListedPerCode);
    EXPECT_EQ(pens.findings.back().index, 2 + 99);
}

// Every cut: a finding where the file ends, never a failure.
TEST(JwcAudit, ACutFileIsAFindingWhereItEnds) {
    const std::string good = bytesOf(Records());
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        const JwcAudit a = audit(good.substr(0, cut));
        ASSERT_FALSE(a.findings.empty()) << cut;
        EXPECT_EQ(a.findings.back().code, AuditCode::FileSize) << cut;
        EXPECT_EQ(a.findings.back().offset, cut) << cut;
    }
}

}  // namespace
}  // namespace tavo
