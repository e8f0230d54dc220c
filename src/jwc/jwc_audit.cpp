#include "jwc/jwc_audit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/comma_text.h"
#include "base/number_text.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_records.h"

namespace tavo {

namespace {

struct CodeInfo {
    const char* name;
    AuditSeverity severity;
};

constexpr CodeInfo kCodes[kAuditCodeCount] = {
    {"JWC_TITLE", AuditSeverity::Error},          {"JWC_FRAMING_LF", AuditSeverity::Error},
    {"JWC_HEADER_TEXT", AuditSeverity::Error},    {"JWC_HEADER_FIELDS", AuditSeverity::Error},
    {"JWC_FILE_SIZE", AuditSeverity::Error},      {"JWC_NAME_UNTERMINATED", AuditSeverity::Error},
    {"JWC_POOL_SEGMENT", AuditSeverity::Error},   {"JWC_POOL_REF", AuditSeverity::Error},
    {"JWC_POOL_TEXTS", AuditSeverity::Error},     {"JWC_POOL_EXTRA", AuditSeverity::Warning},
    {"JWC_POOL_LIMIT", AuditSeverity::Warning},   {"JWC_COUNT_LIMIT", AuditSeverity::Warning},
    {"JWC_ANGLE_RANGE", AuditSeverity::Error},    {"JWC_PEN_RANGE", AuditSeverity::Error},
    {"JWC_LINETYPE_RANGE", AuditSeverity::Error}, {"JWC_TEXTSIZE_RANGE", AuditSeverity::Error},
    {"JWC_TEXT_EMPTY", AuditSeverity::Error},     {"JWC_TEXT_BASELINE", AuditSeverity::Error},
    {"JWC_TABLE_ROW", AuditSeverity::Warning},
};

// The limits that a public reader keeps, as JW_CAD itself did.
constexpr int64_t kRecordLimit = 100000;
constexpr int64_t kTemporaryPointLimit = 100;
constexpr int64_t kPoolLimit = 65535;

constexpr std::string_view kTitleStart = "jw_cad(c)data";
constexpr uint64_t kHeaderBlockBytes = offsetof(JwcHead, Reserved);  // 800
constexpr std::size_t kRunRecords = 4096;
const char* const kKindNames[4] = {"line", "arc", "text", "point"};

std::string hexAddress(uint32_t address) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%.4X:%.4X", static_cast<unsigned>(address >> 16),
                  static_cast<unsigned>(address & 0xFFFF));
    return text.data();
}

std::string degrees(int32_t fixed) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%g", fixed * kFixedAngleUnit);
    return text.data();
}

// A header's text as a message quotes it: bytes that are not printable
// ASCII as \xNN, so that the message stays plain text.
std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<uint8_t>(c);
        if (u >= 0x20 && u <= 0x7E) {
            out += c;
            continue;
        }
        std::array<char, 8> escape{};
        std::snprintf(escape.data(), escape.size(), "\\x%02X", u);
        out += escape.data();
    }
    return out;
}

std::string byteName(uint8_t c) {
    if (c == 0) return "NUL";
    if (c == '\r') return "CR";
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%02X", c);
    return text.data();
}

// The header fields an audit needs, read strictly.
struct HeaderCounts {
    std::array<int64_t, 4> records{};  // lines, arcs, texts, points
    int64_t temporaryPoints = 0;
};

// Reads the source front to back, keeping the byte offset.
class Input {
public:
    explicit Input(ByteSource& source) : source_(source), size_(source.size()) {}
    uint64_t offset() const { return offset_; }
    uint64_t size() const { return size_; }
    uint64_t remaining() const { return size_ > offset_ ? size_ - offset_ : 0; }
    // As many bytes as there are, up to `n`.
    std::size_t read(void* data, std::size_t n) {
        const std::size_t got = source_.read(data, n);
        offset_ += got;
        return got;
    }
    bool skip(uint64_t n) {
        std::array<char, 4096> scratch{};
        while (n > 0) {
            const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(n, scratch.size()));
            if (read(scratch.data(), want) < want) return false;
            n -= want;
        }
        return true;
    }

private:
    ByteSource& source_;
    uint64_t size_;
    uint64_t offset_ = 0;
};

class Auditor {
public:
    explicit Auditor(ByteSource& source) : in_(source) {}

    JwcAudit run() {
        if (readHeader() && readTables() && readRecords() && readPool() && readPoints()) readNames();
        std::stable_sort(out_.findings.begin(), out_.findings.end(),
                         [](const AuditFinding& a, const AuditFinding& b) { return a.offset < b.offset; });
        return std::move(out_);
    }

private:
    template <class Message>
    void add(AuditCode code, uint64_t offset, AuditRecord record, int64_t index, Message message) {
        uint64_t& n = out_.counts[static_cast<std::size_t>(code)];
        if (++n <= kListedPerCode) out_.findings.push_back({code, offset, record, index, message()});
    }

    // The file ended inside `what`: a finding, and the audit stops.
    bool ended(const std::string& what) {
        add(AuditCode::FileSize, in_.size(), AuditRecord::None, -1, [&] {
            std::string text = "the file ends at byte " + std::to_string(in_.size()) + ", inside " + what;
            if (expectedSize_) text += "; its header calls for " + std::to_string(*expectedSize_) + " bytes";
            return text + ".";
        });
        return false;
    }

    bool readHeader() {
        if (in_.size() < kHeaderBlockBytes) {
            add(AuditCode::FileSize, in_.size(), AuditRecord::None, -1, [&] {
                return "the file is " + std::to_string(in_.size()) +
                       " bytes, shorter than the four 200-byte header blocks.";
            });
            return false;
        }
        in_.read(&head_, kHeaderBlockBytes);
        if (std::string_view(reinterpret_cast<const char*>(&head_.TitleBlock[0]), kTitleStart.size()) != kTitleStart)
            add(AuditCode::Title, 0, AuditRecord::None, -1,
                [] { return std::string("the file does not start with the title \"jw_cad(c)data\"."); });
        checkBlockEnds();
        checkHeaderText();
        counts_ = checkLine1();
        checkLine3();
        return true;
    }

    void checkBlockEnds() {
        static const char* const kBlocks[4] = {"the title block", "the block of header line 1",
                                               "the block of header line 2", "the block of header line 3"};
        const uint8_t ends[4] = {head_.TitleBlock[199], static_cast<uint8_t>(head_.Line1[199]),
                                 static_cast<uint8_t>(head_.Line2[199]), static_cast<uint8_t>(head_.Line3[199])};
        for (std::size_t b = 0; b < 4; ++b) {
            const uint64_t at = 200 * b + 199;
            const uint8_t end = ends[b];
            if (end != '\n')
                add(AuditCode::FramingLf, at, AuditRecord::None, -1, [&] {
                    return std::string(kBlocks[b]) + " ends with " + byteName(end) +
                           ", not the line feed JW_CAD writes.";
                });
        }
    }

    void checkHeaderText() {
        const std::string_view lines[3] = {{&head_.Line1[0], 199}, {&head_.Line2[0], 199}, {&head_.Line3[0], 199}};
        for (std::size_t l = 0; l < 3; ++l) {
            const std::string_view text = lines[l];
            const std::size_t length = std::min(text.find('\0'), text.size());
            for (std::size_t i = 0; i < length; ++i) {
                const auto c = static_cast<uint8_t>(text[i]);
                if (c >= 0x20 && c <= 0x7E) continue;
                add(AuditCode::HeaderText, 200 * (l + 1) + i, AuditRecord::None, -1, [&] {
                    return "header line " + std::to_string(l + 1) + " holds " + byteName(c) + " at its byte " +
                           std::to_string(i) + ", where readers take only printable ASCII.";
                });
                break;
            }
        }
    }

    // A count field: a whole number from 0, else a finding and 0.
    int64_t countField(const std::vector<std::string>& fields, std::size_t i, const char* what, int64_t fallback) {
        if (i >= fields.size()) return fallback;
        const std::optional<int32_t> v = parseInt32(fields[i]);
        if (v && *v >= 0) return *v;
        add(AuditCode::HeaderFields, 200, AuditRecord::None, -1, [&] {
            return "header line 1 field " + std::to_string(i) + ", " + what + ", is \"" + printable(fields[i]) +
                   "\", not a whole number from 0.";
        });
        return 0;
    }

    HeaderCounts checkLine1() {
        const std::vector<std::string> f = splitCommaText(std::string_view(&head_.Line1[0], sizeof head_.Line1));
        HeaderCounts c;
        static const char* const kCountNames[4] = {"the line count", "the arc count", "the text count",
                                                   "the point count"};
        for (std::size_t i = 0; i < 4; ++i) {
            c.records[i] = i < f.size() ? countField(f, i, kCountNames[i], 0) : 0;
            if (i >= f.size())
                add(AuditCode::HeaderFields, 200, AuditRecord::None, -1, [&] {
                    return "header line 1 has no field " + std::to_string(i) + ", " + kCountNames[i] + ".";
                });
            if (c.records[i] > kRecordLimit)
                add(AuditCode::CountLimit, 200, AuditRecord::None, -1, [&] {
                    return "the drawing has " + std::to_string(c.records[i]) + " " + kKindNames[i] +
                           " records; readers that keep JW_CAD's limit take at most 100,000.";
                });
        }
        c.temporaryPoints = countField(f, 4, "the temporary point count", 0);
        if (c.temporaryPoints > c.records[3])
            add(AuditCode::HeaderFields, 200, AuditRecord::None, -1, [&] {
                return "header line 1 makes " + std::to_string(c.temporaryPoints) + " of its " +
                       std::to_string(c.records[3]) + " points temporary.";
            });
        if (c.temporaryPoints > kTemporaryPointLimit)
            add(AuditCode::CountLimit, 200, AuditRecord::None, -1, [&] {
                return "header line 1 makes " + std::to_string(c.temporaryPoints) +
                       " points temporary; readers that keep JW_CAD's limit take at most 100.";
            });
        if (f.size() > 30 && parseInt32Or(f[30], 0) <= 0)
            add(AuditCode::HeaderFields, 200, AuditRecord::None, -1, [&] {
                return "header line 1 field 30, the drawing units across the sheet, is \"" + printable(f[30]) +
                       "\", not a whole number from 1.";
            });
        return c;
    }

    void checkLine3() {
        TextPool pool;
        std::string why;
        if (!ParseTextPool(head_, pool, why)) {
            add(AuditCode::HeaderFields, 600, AuditRecord::None, -1, [&] { return printable(why) + "."; });
            return;
        }
        if (pool.length < 0) {
            add(AuditCode::HeaderFields, 600, AuditRecord::None, -1,
                [] { return std::string("header line 3 declares a text pool that ends before it starts."); });
            return;
        }
        pool_ = pool;
        if (static_cast<uint32_t>(pool.start) != kTextPoolStart)
            add(AuditCode::PoolSegment, 600, AuditRecord::None, -1, [&] {
                return "the text pool starts at " + hexAddress(static_cast<uint32_t>(pool.start)) +
                       "; JW_CAD saves it at 4000:0000, and readers that take each text reference minus "
                       "0x40000000 read the texts from the wrong place.";
            });
        if (pool.length > kPoolLimit)
            add(AuditCode::PoolLimit, 600, AuditRecord::None, -1, [&] {
                return "the text pool holds " + std::to_string(pool.length) +
                       " bytes; readers that take a text's place from the low word of its reference reach only "
                       "the first 65,535.";
            });
        const std::array<int64_t, 4>& r = counts_.records;
        expectedSize_ = kHeaderBlockBytes + sizeof head_.Reserved + sizeof head_.Table + scaleBytes() +
                        sizeof(JwcLayerTables) + static_cast<uint64_t>(22 * r[0] + 32 * r[1] + 24 * r[2]) +
                        static_cast<uint64_t>(pool.length) + static_cast<uint64_t>(12 * r[3]) + kJwcNameBytes;
    }

    uint64_t scaleBytes() const { return head_.TitleBlock[22] == '.' ? 32 : 64; }

    bool readTables() {
        if (in_.read(&head_.Reserved, sizeof head_.Reserved + sizeof head_.Table) <
            sizeof head_.Reserved + sizeof head_.Table)
            return ended("the reserved block and the text-size table");
        if (!in_.skip(scaleBytes())) return ended("the group scale table");
        if (!in_.skip(sizeof(JwcLayerTables))) return ended("the layer and group tables");
        return true;
    }

    // Reads `count` records, handing each to `check(record, offset, index)`.
    template <class T, class Check>
    bool forEachRecord(int64_t count, const char* kind, Check check) {
        std::vector<T> run(static_cast<std::size_t>(std::min<int64_t>(count, kRunRecords)));
        int64_t index = 0;
        while (index < count) {
            const auto n = static_cast<std::size_t>(std::min<int64_t>(static_cast<int64_t>(run.size()), count - index));
            const uint64_t first = in_.offset();
            const std::size_t whole = in_.read(run.data(), n * sizeof(T)) / sizeof(T);
            for (std::size_t k = 0; k < whole; ++k) check(run[k], first + k * sizeof(T), index + static_cast<int64_t>(k));
            index += static_cast<int64_t>(whole);
            if (whole < n) return ended(std::string("the ") + kind + " records");
        }
        return true;
    }

    void checkPen(uint8_t pen, uint64_t at, AuditRecord record, int64_t i) {
        if (!KnownPen(pen))
            add(AuditCode::PenRange, at, record, i, [&] {
                return std::string(AuditRecordName(record)) + " " + std::to_string(i) + " has pen " +
                       std::to_string(pen) + "; JW_CAD knows pens 1 to 9.";
            });
    }

    void checkLineType(uint8_t type, uint64_t at, AuditRecord record, int64_t i) {
        if (!KnownLineType(type))
            add(AuditCode::LineTypeRange, at, record, i, [&] {
                return std::string(AuditRecordName(record)) + " " + std::to_string(i) + " has line type " +
                       std::to_string(type) + "; JW_CAD knows line types 1 to 9 in the low four bits.";
            });
    }

    void checkAngles(const Enko& r, uint64_t at, int64_t i) {
        static const char* const kNames[3] = {"start angle", "end angle", "tilt"};
        const int32_t angles[3] = {r.StartAngle, r.EndAngle, r.Tilt};
        const uint64_t offsets[3] = {offsetof(Enko, StartAngle), offsetof(Enko, EndAngle), offsetof(Enko, Tilt)};
        const auto outside = [&](std::size_t k) { return angles[k] < 0 || angles[k] >= kWholeTurnFixed; };
        std::size_t first = 0;
        while (first < 3 && !outside(first)) ++first;
        if (first == 3) return;
        add(AuditCode::AngleRange, at + offsets[first], AuditRecord::Arc, i, [&] {
            std::string which;
            for (std::size_t k = first; k < 3; ++k)
                if (outside(k)) which += (which.empty() ? "" : ", ") + std::string(kNames[k]) + " " + degrees(angles[k]);
            return "arc " + std::to_string(i) + " has " + which + " degrees; readers take angles from 0 up to 360.";
        });
    }

    bool readRecords() {
        const std::array<int64_t, 4>& r = counts_.records;
        const bool lines = forEachRecord<Sen>(r[0], "line", [&](const Sen& s, uint64_t at, int64_t i) {
            checkLineType(s.LineType, at + offsetof(Sen, LineType), AuditRecord::Line, i);
            checkPen(s.Color, at + offsetof(Sen, Color), AuditRecord::Line, i);
        });
        if (!lines) return false;
        const bool arcs = forEachRecord<Enko>(r[1], "arc", [&](const Enko& e, uint64_t at, int64_t i) {
            checkAngles(e, at, i);
            checkLineType(e.LineType, at + offsetof(Enko, LineType), AuditRecord::Arc, i);
            checkPen(e.Color, at + offsetof(Enko, Color), AuditRecord::Arc, i);
        });
        if (!arcs) return false;
        textRecordsAt_ = in_.offset();
        const bool texts = forEachRecord<Moji>(r[2], "text", [&](const Moji& m, uint64_t at, int64_t i) {
            checkText(m, at, i);
        });
        checkTableRows();
        return texts;
    }

    void checkText(const Moji& m, uint64_t at, int64_t i) {
        references_.push_back(static_cast<uint32_t>(m.TextOffset));
        if (KnownTextSize(m.MojiNo))
            ++textsOfSize_[m.MojiNo];
        else
            add(AuditCode::TextSizeRange, at + offsetof(Moji, MojiNo), AuditRecord::Text, i, [&] {
                return "text " + std::to_string(i) + " has text size " + std::to_string(m.MojiNo) +
                       "; JW_CAD knows text sizes 1 to 10.";
            });
        if (m.X1 == m.X2 && m.Y1 == m.Y2)
            add(AuditCode::TextBaseline, at, AuditRecord::Text, i, [&] {
                return "text " + std::to_string(i) +
                       " has a base line of zero length, which gives it no direction or width.";
            });
    }

    // The rows of the text-size table that texts use: a pen JW_CAD knows,
    // a width and a height.
    void checkTableRows() {
        const MojiTable& t = head_.Table;
        for (int n = 1; n <= 10; ++n) {
            if (textsOfSize_[n] == 0) continue;
            std::string wrong;
            if (t.Pen[n] < 1 || t.Pen[n] > 9) wrong = "pen " + std::to_string(t.Pen[n]);
            if (t.Width[n] == 0) wrong += (wrong.empty() ? "" : ", ") + std::string("width 0");
            if (t.Height[n] == 0) wrong += (wrong.empty() ? "" : ", ") + std::string("height 0");
            if (wrong.empty()) continue;
            add(AuditCode::TableRow, offsetof(JwcHead, Table) + 2 * static_cast<uint64_t>(n), AuditRecord::TableRow, n,
                [&] {
                    return "text size " + std::to_string(n) + ", which " + std::to_string(textsOfSize_[n]) +
                           " texts use, has " + wrong + " in the text-size table.";
                });
        }
    }

    bool readPool() {
        if (!pool_) return false;  // nothing says where the records after the pool start
        const auto length = static_cast<uint64_t>(pool_->length);
        std::vector<char> pool(static_cast<std::size_t>(std::min(length, in_.remaining())));
        const uint64_t poolAt = in_.offset();
        pool.resize(in_.read(pool.data(), pool.size()));
        const auto start = static_cast<uint32_t>(pool_->start);
        const auto records = static_cast<int64_t>(references_.size());
        int64_t i = 0;
        for (std::size_t o = 0; o < pool.size(); ++i) {
            const auto* nul = static_cast<const char*>(std::memchr(&pool[o], 0, pool.size() - o));
            const std::size_t end = nul ? static_cast<std::size_t>(nul - pool.data()) : pool.size();
            if (i < records) checkPooledText(i, start, o, end == o, poolAt);
            if (i == records)
                add(AuditCode::PoolExtra, poolAt + o, AuditRecord::None, -1, [&] {
                    return "the text pool holds texts past the last of the " + std::to_string(records) +
                           " text records, which no record refers to.";
                });
            if (!nul && pool.size() == length)
                add(AuditCode::PoolTexts, poolAt + length - 1, AuditRecord::None, -1,
                    [] { return std::string("the last text of the pool has no closing NUL."); });
            o = end + 1;
        }
        if (pool.size() < length) return ended("the text pool");
        if (i < records)
            add(AuditCode::PoolTexts, textRecordsAt_ + 24 * static_cast<uint64_t>(i), AuditRecord::Text, i, [&] {
                return "the text pool holds " + std::to_string(i) + " texts for " + std::to_string(records) +
                       " text records.";
            });
        return true;
    }

    void checkPooledText(int64_t i, uint32_t start, std::size_t offset, bool empty, uint64_t poolAt) {
        if (empty)
            add(AuditCode::TextEmpty, poolAt + offset, AuditRecord::Text, i, [&] {
                return "text " + std::to_string(i) + " is empty; a strict reader refuses empty texts.";
            });
        const uint32_t want = start + static_cast<uint32_t>(offset);
        const uint32_t got = references_[static_cast<std::size_t>(i)];
        if (got != want)
            add(AuditCode::PoolRef, textRecordsAt_ + 24 * static_cast<uint64_t>(i) + offsetof(Moji, TextOffset),
                AuditRecord::Text, i, [&] {
                    return "text " + std::to_string(i) + " refers to " + hexAddress(got) + ", but its text starts at " +
                           hexAddress(want) + ", byte " + std::to_string(offset) + " of the pool.";
                });
    }

    bool readPoints() {
        return forEachRecord<Ten>(counts_.records[3], "point", [&](const Ten& t, uint64_t at, int64_t i) {
            checkPen(t.Color, at + offsetof(Ten, Color), AuditRecord::Point, i);
        });
    }

    void readNames() {
        const uint64_t namesAt = in_.offset();
        const uint64_t rest = in_.remaining();
        if (rest >= kJwcNameBytes && in_.skip(kJwcNameBytes - 1)) {
            uint8_t last = 0;
            in_.read(&last, 1);
            if (last != 0)
                add(AuditCode::NameUnterminated, namesAt + kJwcNameBytes - 1, AuditRecord::None, -1, [&] {
                    return "the group names end with " + byteName(last) + ", not the NUL JW_CAD writes.";
                });
        }
        if (rest < kJwcNameBytes)
            add(AuditCode::FileSize, in_.size(), AuditRecord::None, -1, [&] {
                return "the file ends " + std::to_string(rest) +
                       " bytes into the layer and group names, which take 2304.";
            });
        else if (rest > kJwcNameBytes)
            add(AuditCode::FileSize, namesAt + kJwcNameBytes, AuditRecord::None, -1, [&] {
                const uint64_t extra = rest - kJwcNameBytes;
                return std::to_string(extra) + (extra == 1 ? " byte follows" : " bytes follow") +
                       " the layer and group names, which end the file.";
            });
    }

    Input in_;
    JwcAudit out_;
    JwcHead head_{};
    HeaderCounts counts_;
    std::optional<TextPool> pool_;
    std::optional<uint64_t> expectedSize_;
    uint64_t textRecordsAt_ = 0;
    std::vector<uint32_t> references_;
    std::array<uint64_t, 11> textsOfSize_{};
};

}  // namespace

const char* AuditCodeName(AuditCode code) { return kCodes[static_cast<std::size_t>(code)].name; }

AuditSeverity AuditCodeSeverity(AuditCode code) { return kCodes[static_cast<std::size_t>(code)].severity; }

const char* AuditSeverityName(AuditSeverity severity) {
    return severity == AuditSeverity::Error ? "error" : "warning";
}

const char* AuditRecordName(AuditRecord kind) {
    switch (kind) {
        case AuditRecord::Line: return "line";
        case AuditRecord::Arc: return "arc";
        case AuditRecord::Text: return "text";
        case AuditRecord::Point: return "point";
        case AuditRecord::TableRow: return "table row";
        case AuditRecord::None: break;
    }
    return "";
}

uint64_t JwcAudit::total() const {
    uint64_t n = 0;
    for (uint64_t c : counts) n += c;
    return n;
}

uint64_t JwcAudit::count(AuditSeverity severity) const {
    uint64_t n = 0;
    for (std::size_t c = 0; c < kAuditCodeCount; ++c)
        if (kCodes[c].severity == severity) n += counts[c];
    return n;
}

JwcAudit AuditJwc(ByteSource& source) { return Auditor(source).run(); }

JwcAudit AuditJwcFile(const std::string& path) {
    FileSource source(path);
    return AuditJwc(source);
}

}  // namespace tavo
