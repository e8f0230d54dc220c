#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

// A string handed to the host: a 4-byte byte count, the bytes, two NULs; the
// pointer points at the first byte, as an automation string does.
char* AllocHostString(std::string_view bytes);
// The same for the exports' last resort: null when even that fails.
char* AllocHostStringOrNull(std::string_view bytes) noexcept;
void FreeHostString(char* p);
uint32_t HostStringByteLen(const char* p);

// A string handed in by the host: the address of a variable holding the
// address of NUL-terminated bytes. A null at either level is the empty text.
std::string ReadHostString(const char* const* ref);

}  // namespace tavo
