// The .jwc reader and the audit on arbitrary bytes. A file that loads must
// also write, convert and load again with the same counts; what it writes
// must pass a peer reader's framing and text reference rules, leave the
// audit nothing but the records' own values, and write again to the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/byte_source.h"
#include "base/error.h"
#include "export/export_jwc_writer.h"
#include "export/export_jwt_writer.h"
#include "export/jw_object.h"
#include "export/jwc_import.h"
#include "export/jww_writer.h"
#include "jwc/jwc_audit.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"
#include "jwc/jwt_text.h"
#include "jwc_app_file.h"

namespace {

class NullSink final : public tavo::ByteSink {
public:
    using ByteSink::write;
    void write(const void*, std::size_t size) override { bytes += size; }
    std::size_t bytes = 0;
};

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavo::MemorySource audited(bytes);
    tavo::AuditJwc(audited);  // whatever the bytes, findings and no failure
    tavo::TJwcFile drawing;
    try {
        tavo::MemorySource source(bytes);
        tavo::ReadJwc(drawing, source, "fuzz.jwc");
    } catch (const tavo::Error&) {
        return 0;
    }

    tavo::StringSink written;
    tavo::WriteJwc(drawing, written);
    require(tavo::test::PeerFramingFaults(written.bytes()).empty());
    require(tavo::test::TextReferenceFaults(written.bytes()).empty());
    // Whatever it read, a save frames the file as JW_CAD does: what is left
    // for the audit is in the records themselves.
    tavo::MemorySource writtenSource(written.bytes());
    const tavo::JwcAudit audit = tavo::AuditJwc(writtenSource);
    for (tavo::AuditCode code : {tavo::AuditCode::Title, tavo::AuditCode::FramingLf, tavo::AuditCode::HeaderText,
                                 tavo::AuditCode::HeaderFields, tavo::AuditCode::FileSize,
                                 tavo::AuditCode::NameUnterminated, tavo::AuditCode::PoolSegment,
                                 tavo::AuditCode::PoolRef, tavo::AuditCode::PoolTexts})
        require(audit.counts[static_cast<std::size_t>(code)] == 0);
    tavo::TJwcFile again;
    tavo::MemorySource source(written.bytes());
    tavo::ReadJwc(again, source, "again.jwc");  // must not throw
    // A text record without a text was written with an empty one.
    require(again.senCount() == drawing.senCount() && again.enkoCount() == drawing.enkoCount() &&
            again.mojiCount() == drawing.mojiCount() && again.tenCount() == drawing.tenCount() &&
            again.textCount() == std::max(drawing.textCount(), drawing.mojiCount()));
    tavo::StringSink rewritten;
    tavo::WriteJwc(again, rewritten);
    require(rewritten.bytes() == written.bytes());

    tavo::TJwObject exported;
    tavo::ImportJwc(drawing, exported);
    NullSink sink;
    tavo::WriteJww(exported, sink);
    require(tavo::ExportToJwt(exported).size() > 0);
    require(tavo::JwcToJwt(drawing, drawing.unitDivisor).size() > 0);
    // Through the export drawing: every record but the empty texts, and
    // every angle within a whole turn.
    std::unique_ptr<tavo::TJwcFile> back = tavo::MakeJwcFromExport(exported);
    tavo::StringSink exportedJwc;
    tavo::WriteJwc(*back, exportedJwc);
    require(back->senCount() == drawing.senCount() &&
            back->mojiCount() == drawing.mojiCount() - tavo::TextsLeftOutOfJwc(exported));
    tavo::MemorySource exportedSource(exportedJwc.bytes());
    const tavo::JwcAudit exportedAudit = tavo::AuditJwc(exportedSource);
    for (tavo::AuditCode code : {tavo::AuditCode::AngleRange, tavo::AuditCode::TextEmpty})
        require(exportedAudit.counts[static_cast<std::size_t>(code)] == 0);
    return 0;
}
