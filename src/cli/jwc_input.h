#pragma once

#include <string>

#include "jwc/jwc_audit.h"

namespace tavo {
class TJwcFile;
}

namespace tavo::cli {

// Reads a .jwc file ("-": standard input) into a new drawing as the
// library's loader does.
void LoadJwcInput(TJwcFile& drawing, const std::string& path);

// What a strict reader finds in a .jwc input ("-": standard input).
JwcAudit AuditJwcInput(const std::string& path);
// Both from one reading of the input.
JwcAudit LoadAndAuditJwcInput(TJwcFile& drawing, const std::string& path);

// The scale written in the file's header (the loader itself sets 1).
int32_t StoredScale(const TJwcFile& drawing);

}  // namespace tavo::cli
