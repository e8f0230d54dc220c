// Automation strings where the platform has none: blocks of our own heap.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/system_string.h"

namespace tavo::platform {

// NOLINTBEGIN(cppcoreguidelines-pro-bounds-pointer-arithmetic): the count lies before the pointer

char* AllocSystemString(std::string_view bytes) {
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

void FreeSystemString(char* p) {
    if (p) std::free(p - 4);
}

uint32_t SystemStringByteLen(const char* p) {
    if (!p) return 0;
    uint32_t length;
    std::memcpy(&length, p - 4, 4);
    return length;
}

// NOLINTEND(cppcoreguidelines-pro-bounds-pointer-arithmetic)

}  // namespace tavo::platform
