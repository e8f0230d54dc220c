// Strings handed out by the library, and the last failure.
#include "interface/export_guard.h"
#include "interface/host_string.h"
#include "tavo.h"

extern "C" {

// These three leave the last error alone: a host asks for it, reads it and
// frees it, and each of those steps must not clear it.

TAVO_API void TAVO_CALL TavoFreeString(TavoString Str) { tavo::FreeHostString(Str); }

TAVO_API uint32_t TAVO_CALL TavoStringByteLen(const char* Str) { return tavo::HostStringByteLen(Str); }

TAVO_API TavoString TAVO_CALL TavoGetLastError(void) {
    return tavo::AllocHostStringOrNull(tavo::State().lastError);
}

}  // extern "C"
