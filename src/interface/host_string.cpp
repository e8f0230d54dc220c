#include "interface/host_string.h"

#include "platform/system_string.h"

namespace tavo {

char* AllocHostString(std::string_view bytes) { return platform::AllocSystemString(bytes); }

char* AllocHostStringOrNull(std::string_view bytes) noexcept {
    try {
        return AllocHostString(bytes);
    } catch (...) {
        return nullptr;
    }
}

void FreeHostString(char* p) { platform::FreeSystemString(p); }

uint32_t HostStringByteLen(const char* p) { return platform::SystemStringByteLen(p); }

std::string ReadHostString(const char* const* ref) {
    if (!ref || !*ref) return std::string();
    return std::string(*ref);
}

}  // namespace tavo
