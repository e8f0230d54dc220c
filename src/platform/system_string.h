#pragma once

#include <cstdint>
#include <string_view>

namespace tavo::platform {

// The strings the library hands to the host, as the platform's automation
// strings are made: a 4-byte byte count before the pointer, the bytes
// unchanged (NULs allowed), two NULs after them. On Windows they are the
// real ones (SysAllocStringByteLen), so the host frees them as its own.
// Throws std::bad_alloc.
char* AllocSystemString(std::string_view bytes);
// Frees one; null does nothing.
void FreeSystemString(char* p);
// The byte count before the pointer; 0 for null.
uint32_t SystemStringByteLen(const char* p);

}  // namespace tavo::platform
