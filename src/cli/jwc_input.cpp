#include "cli/jwc_input.h"

#include "base/byte_source.h"
#include "cli/output_rule.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_header.h"
#include "jwc/jwc_reader.h"

namespace tavo::cli {

void LoadJwcInput(TJwcFile& drawing, const std::string& path) {
    if (path != "-") {
        LoadJwcFile(drawing, path);
        return;
    }
    const std::string bytes = ReadInput(path);
    MemorySource source(bytes);
    ReadJwc(drawing, source, InputName(path));
}

JwcAudit AuditJwcInput(const std::string& path) {
    if (path != "-") return AuditJwcFile(path);
    const std::string bytes = ReadInput(path);
    MemorySource source(bytes);
    return AuditJwc(source);
}

JwcAudit LoadAndAuditJwcInput(TJwcFile& drawing, const std::string& path) {
    if (path != "-") {
        LoadJwcFile(drawing, path);
        return AuditJwcFile(path);
    }
    const std::string bytes = ReadInput(path);
    MemorySource forLoad(bytes);
    ReadJwc(drawing, forLoad, InputName(path));
    MemorySource forAudit(bytes);
    return AuditJwc(forAudit);
}

int32_t StoredScale(const TJwcFile& drawing) { return ParseHeaderLine1(drawing.head).scale; }

}  // namespace tavo::cli
