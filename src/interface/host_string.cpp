#include "interface/host_string.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace tavo {

// The block of an automation string: a 4-byte count before the pointer
// handed out, two NULs after the bytes.
// NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic)

char* AllocHostString(std::string_view bytes) {
    if (bytes.size() > UINT32_MAX - 8) throw std::bad_alloc();
    auto* block = static_cast<char*>(std::malloc(4 + bytes.size() + 2));
    if (!block) throw std::bad_alloc();
    const auto length = static_cast<uint32_t>(bytes.size());
    std::memcpy(block, &length, 4);
    if (!bytes.empty()) std::memcpy(block + 4, bytes.data(), bytes.size());
    block[4 + bytes.size()] = '\0';
    block[5 + bytes.size()] = '\0';
    return block + 4;
}

char* AllocHostStringOrNull(std::string_view bytes) noexcept {
    try {
        return AllocHostString(bytes);
    } catch (...) {
        return nullptr;
    }
}

void FreeHostString(char* p) {
    if (p) std::free(p - 4);
}

uint32_t HostStringByteLen(const char* p) {
    if (!p) return 0;
    uint32_t length;
    std::memcpy(&length, p - 4, 4);
    return length;
}

// NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic)

std::string ReadHostString(const char* const* ref) {
    if (!ref || !*ref) return std::string();
    return std::string(*ref);
}

}  // namespace tavo
