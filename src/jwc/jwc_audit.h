#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_source.h"

namespace tavo {

// What a strict reader of .jwc files refuses or warns about. The names are
// stable: scripts and other programs match on them.
enum class AuditCode : uint8_t {
    Title,             // JWC_TITLE
    FramingLf,         // JWC_FRAMING_LF
    HeaderText,        // JWC_HEADER_TEXT
    HeaderFields,      // JWC_HEADER_FIELDS
    FileSize,          // JWC_FILE_SIZE
    NameUnterminated,  // JWC_NAME_UNTERMINATED
    PoolSegment,       // JWC_POOL_SEGMENT
    PoolRef,           // JWC_POOL_REF
    PoolTexts,         // JWC_POOL_TEXTS
    PoolExtra,         // JWC_POOL_EXTRA
    PoolLimit,         // JWC_POOL_LIMIT
    CountLimit,        // JWC_COUNT_LIMIT
    AngleRange,        // JWC_ANGLE_RANGE
    PenRange,          // JWC_PEN_RANGE
    LineTypeRange,     // JWC_LINETYPE_RANGE
    TextSizeRange,     // JWC_TEXTSIZE_RANGE
    TextEmpty,         // JWC_TEXT_EMPTY
    TextBaseline,      // JWC_TEXT_BASELINE
    TableRow,          // JWC_TABLE_ROW
};
constexpr std::size_t kAuditCodeCount = static_cast<std::size_t>(AuditCode::TableRow) + 1;

// Error: a strict reader refuses the file or reads it wrongly. Warning: a
// limit some readers keep, or a value that draws nothing sensible.
enum class AuditSeverity : uint8_t { Error, Warning };

const char* AuditCodeName(AuditCode code);
AuditSeverity AuditCodeSeverity(AuditCode code);
const char* AuditSeverityName(AuditSeverity severity);

// What a finding is about: a record of a kind, a row of the text-size
// table, or the file as a whole.
enum class AuditRecord : uint8_t { None, Line, Arc, Text, Point, TableRow };
const char* AuditRecordName(AuditRecord kind);  // "line", ...; "" for None

struct AuditFinding {
    AuditCode code;
    uint64_t offset;       // byte of the file at fault
    AuditRecord record;
    int64_t index;         // from 0 within its kind, as the Get exports count; the table's row; -1 with None
    std::string message;   // one sentence
};

// At most this many findings of one code are listed; all are counted.
constexpr uint64_t kListedPerCode = 100;

struct JwcAudit {
    std::vector<AuditFinding> findings;  // by offset
    std::array<uint64_t, kAuditCodeCount> counts{};

    uint64_t total() const;
    uint64_t count(AuditSeverity severity) const;
    bool clean() const { return total() == 0; }
};

// Reads a .jwc file front to back as a strict reader does: what it holds
// never throws, and a file cut short or framed otherwise is a finding.
JwcAudit AuditJwc(ByteSource& source);
// Throws Error when the file cannot be opened.
JwcAudit AuditJwcFile(const std::string& path);

}  // namespace tavo
